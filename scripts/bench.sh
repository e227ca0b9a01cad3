#!/usr/bin/env bash
# Builds and runs the benchmark of every plug-in (bench/), prints its table
# and writes it with the machine it ran on to docs/performance.md.
#   scripts/bench.sh [vf_bench options, e.g. --only softblur --sizes 1000x750]
# Runs for several minutes on the full set: the plain references and the
# heaviest settings are slow by nature.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

vf_ensure_packages "the benchmark" "${VF_NATIVE_PACKAGES[@]}" || exit 1
# ImageMagick gives the peer column; the benchmark runs without it too.
vf_ensure_packages "the ImageMagick column" imagemagick || true

cmake --preset native -S "$VF_ROOT" >/dev/null
cmake --build build/native -j 2 --target vf_bench

# The packaged binary itself, not a wrapper that may come first on PATH
# (its start-up time would blur the short runs).
magick_args=()
if [ -x /usr/bin/convert ]; then
  magick_args=(--magick /usr/bin/convert)
elif command -v convert >/dev/null; then
  magick_args=(--magick "$(command -v convert)")
fi

table="$(mktemp)"
notes="$(mktemp)"
trap 'rm -f "$table" "$notes"' EXIT
# The hand-written part of the page (from its "## Targets" heading on) is
# kept under the new table.
if [ -f docs/performance.md ]; then sed -n '/^## Targets/,$p' docs/performance.md >"$notes"; fi
build/native/bin/vf_bench --report "$table" "${magick_args[@]}" "$@"

cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
flags="$(grep -m1 '^flags' /proc/cpuinfo | tr ' ' '\n' | grep -xE 'sse2|ssse3|sse4_1|avx|avx2|avx512f' | tr '\n' ' ')"
memory="$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
compiler="$(c++ --version | head -n1)"
magick_version="$("${magick_args[1]:-convert}" -version 2>/dev/null | head -n1 | sed 's/^Version: //' || true)"

{
  echo "# Performance"
  echo
  echo "Produced by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'). Every plug-in runs through its real"
  echo "FilterProc (vfhost's core) on the benchmark's deterministic photo-like pictures, once with the settings"
  echo "its dialog stores untouched and once with its heaviest settings. Times are the fastest of up to five runs"
  echo "(one for runs over half a second) and include the plug-in's own settings and working memory."
  echo
  echo "- **Copy ratio**: time over one plain copy of the picture's bytes, the memory-bandwidth floor."
  echo "- **Reference**: the same plug-in built with the plain kernels kept under \`tests/reference/\`;"
  echo "  **Speed-up** is its time over the shipped plug-in's. A reference expected to run past the budget (30 s)"
  echo "  (estimated from the smaller picture) is skipped, and so is such an ImageMagick run."
  echo "- **ImageMagick**: the nearest operation, one thread, on the same picture as raw RGB, with the time of a"
  echo "  plain read and write subtracted. **IM time ÷ ours** above 1 means the plug-in is faster."
  echo
  echo "## Machine"
  echo
  echo "- Processor: ${cpu:-unknown} ($(nproc) logical processors visible; the benchmark uses one)"
  echo "- Vector units: ${flags:-unknown}"
  echo "- Memory: ${memory}"
  echo "- System: $(uname -sr)"
  echo "- Compiler: ${compiler} (native preset: RelWithDebInfo, -O2)"
  echo "- ImageMagick: ${magick_version:-not installed}"
  echo
  echo "## Results"
  echo
  cat "$table"
  if [ -s "$notes" ]; then
    echo
    cat "$notes"
  fi
} >docs/performance.md
echo "== wrote docs/performance.md"
