#!/usr/bin/env bash
# Sets up, builds and runs every test suite: the native suites (CTest), then
# the Windows build's inspection and its wine64 conformance suites.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

vf_build_native
echo "== native test suites"
ctest --test-dir build/native --output-on-failure -j "$(nproc)" -LE windows

# The same suites under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every fuzz target for a short fixed budget (docs/reliability.md).
echo "== sanitizer build (native-asan) and its test suites"
cmake --preset native-asan -S "$VF_ROOT" >/dev/null
cmake --build build/native-asan -j "$(nproc)"
ctest --preset native-asan -j "$(nproc)" -LE windows
echo "== fuzz targets, ${VF_FUZZ_SECONDS:-10} s each"
scripts/fuzz.sh "${VF_FUZZ_SECONDS:-10}"

if [ -x scripts/windows-suites.sh ]; then
  scripts/windows-suites.sh
fi
