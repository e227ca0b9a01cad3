#!/usr/bin/env bash
# Sets up, builds and runs every test suite: the native suites (CTest), the
# same under the sanitizers, the fuzz targets for a short budget, then the
# Windows builds' inspection and their wine64 conformance suites.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

# CI stops a run at 90 minutes; the optional long suites fit into what is left.
export VF_DEADLINE="${VF_DEADLINE:-$(($(date +%s) + ${VF_TIME_BUDGET:-4800}))}"

vf_build_native
echo "== native test suites"
ctest --test-dir build/native --output-on-failure -j "$(nproc)" -LE windows

# The same suites under AddressSanitizer and UndefinedBehaviorSanitizer
# (docs/reliability.md).
echo "== sanitizer build (native-asan) and its test suites"
cmake --preset native-asan -S "$VF_ROOT" >/dev/null
cmake --build build/native-asan -j "$(nproc)"
ctest --preset native-asan -j "$(nproc)" -LE windows

# Every fuzz target for a short fixed budget, when the run has time for it.
fuzz_seconds="${VF_FUZZ_SECONDS:-5}"
if [ "$(vf_seconds_left)" -gt 2400 ]; then
  echo "== fuzz targets, $fuzz_seconds s each"
  scripts/fuzz.sh "$fuzz_seconds"
else
  echo "== SKIPPED: fuzz targets (less than 40 minutes left in the run's time budget)"
fi

# The Windows builds, the inspection of their DLLs and the wine64 suites,
# which take what is left of the time budget.
if [ -x scripts/windows-suites.sh ]; then
  scripts/windows-suites.sh
fi

