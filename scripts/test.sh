#!/usr/bin/env bash
# Sets up, builds and runs every test suite: the native suites (CTest), then
# the Windows build's inspection and its wine64 conformance suites.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

vf_build_native
echo "== native test suites"
ctest --test-dir build/native --output-on-failure -j "$(nproc)" -LE windows

if [ -x scripts/windows-suites.sh ]; then
  scripts/windows-suites.sh
fi
