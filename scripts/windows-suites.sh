#!/usr/bin/env bash
# The Windows part of the test run: builds the win32 deliverable and its
# win64 twin, packs dist/velmora-filters-win32.zip, then runs (from the native
# build, CTest label "windows") the inspection of every DLL and the wine64
# conformance suites. Installs what it needs when run as root; otherwise
# says which suites it skips and why. Expects the native build to exist
# (scripts/test.sh builds it first).
set -uo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

started=$(date +%s)
skipped=()
jobs="${VF_JOBS:-$(nproc)}"

if ! vf_ensure_packages "the Windows builds" "${VF_WINDOWS_BUILD_PACKAGES[@]}"; then
  echo "== SKIPPED: Windows builds, DLL inspection and wine64 suites (the mingw-w64 toolchains are missing)"
  exit 0
fi

echo "== Windows builds: win32 (deliverable) and win64 (run under wine64)"
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" -j "$jobs" || exit 1
done
VF_JOBS="$jobs" scripts/package.sh || exit 1

# The wine64 suites need Wine, a virtual display, Japanese fonts, ImageMagick
# and the Japanese locale that makes Wine use code page 932.
wine_ready=1
if ! vf_ensure_packages "the wine64 suites" "${VF_WINE_PACKAGES[@]}" locales; then
  wine_ready=0
  skipped+=("wine64 filter and dialog suites: packages missing (${VF_WINE_PACKAGES[*]} locales)")
elif ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" = 0 ]; then
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || true
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    wine_ready=0
    skipped+=("wine64 filter and dialog suites: locale ja_JP.UTF-8 missing (run as root to generate it)")
  fi
fi

echo "== DLL inspection (ctest -L windows in build/native)"
ctest --test-dir build/native --output-on-failure -L windows -E windows_wine_
status=$?

if [ "$wine_ready" = 1 ]; then
  # The wine64 suites are the longest part of the run: they get what is left
  # of the run's time budget, less a margin for the steps after them.
  allowed=$(($(vf_seconds_left) - ${VF_TIME_MARGIN:-120}))
  if [ "$allowed" -lt 120 ]; then
    skipped+=("wine64 filter and dialog suites: no time left in the run's budget")
  else
    echo "== wine64 conformance suites (at most $allowed s)"
    timeout --signal=TERM "$allowed" ctest --test-dir build/native --output-on-failure -R windows_wine_
    wine_status=$?
    if [ "$wine_status" = 124 ]; then
      skipped+=("wine64 suites: stopped unfinished at the run's time budget ($allowed s); the cases run until then are reported above")
    elif [ "$wine_status" != 0 ]; then
      status=$wine_status
    fi
  fi
fi

for reason in "${skipped[@]}"; do echo "== SKIPPED: $reason"; done
echo "== Windows suites took $(($(date +%s) - started)) s"
exit $status
