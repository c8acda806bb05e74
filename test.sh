#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: most tests on the offscreen platform,
# the desktop tier (ctest label "desktop") on its own X server under a window manager.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --dev
preset="${PRESET:-dev}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
# Each libFuzzer target for a short smoke run (skipped without clang).
FUZZ_SECONDS="${FUZZ_SECONDS:-20}" ./scripts/fuzz.sh
