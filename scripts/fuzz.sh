#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for a while.
#   scripts/fuzz.sh                 every target for FUZZ_SECONDS (default 20) seconds
#   scripts/fuzz.sh fuzz_jetsql     one target
# Extra libFuzzer flags go in FUZZ_FLAGS (e.g. FUZZ_FLAGS=-runs=1000000); FUZZ_PRESET=fuzz-long builds
# without AddressSanitizer (UBSan only) for long runs, about three times the inputs per second. New inputs land in a
# scratch folder; the seed corpus under tests/fuzz/corpus stays as it is. A crash fails the run
# and leaves its input in build/<preset>/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++-14 >/dev/null; then
  echo "clang++-14 not found: fuzz targets skipped"
  exit 0
fi
preset="${FUZZ_PRESET:-fuzz}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
seconds="${FUZZ_SECONDS:-20}"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_jetsql fuzz_deckfile fuzz_cardtable_deck fuzz_cardtable_data fuzz_filterfile fuzz_specialfilter fuzz_rowsondemand)
findings=build/$preset/findings
mkdir -p "$findings"
for t in "${targets[@]}"; do
  scratch=$(mktemp -d)
  echo "== $t (${seconds}s)"
  # Leak checks stay on; timeouts are the engine budget's job and fail the run when it does not hold.
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build/$preset/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$findings/$t-" ${FUZZ_FLAGS:-} "$scratch" "tests/fuzz/corpus/${t#fuzz_}" \
    || { rm -rf "$scratch"; exit 1; }
  rm -rf "$scratch"
done
