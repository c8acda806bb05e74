#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
preset="${PRESET:-dev}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" "$@"
# Each libFuzzer target for a short smoke run (skipped without clang).
FUZZ_SECONDS="${FUZZ_SECONDS:-20}" ./scripts/fuzz.sh
