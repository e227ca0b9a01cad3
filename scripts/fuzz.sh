#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang with AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a fixed time from the
# committed seed corpus in fuzz/corpus/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 300; the CI step passes VF_FUZZ_SECONDS,
# default 10). TARGET: filterproc:NAME, dialog:NAME (NAME a plug-in, or all),
# resource_script, bmp, png, pgm; none given: every one. New inputs found go
# to build/fuzz/corpus/ (the committed corpus stays as it is), crashes to
# build/fuzz/artifacts/; the figures (executions per target) to
# build/fuzz/figures.txt. Exit status 1 when a target found a fault.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

seconds="${1:-300}"
[ $# -gt 0 ] && shift
targets=("$@")

vf_ensure_packages "the fuzzing build" clang libpng-dev zlib1g-dev cmake || exit 1
cmake --preset fuzz -S "$VF_ROOT" >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target fuzz_filterproc fuzz_dialog fuzz_resource_script fuzz_bmp fuzz_png \
  fuzz_pgm

plugins=()
for plugin in build/fuzz/plugins/*.so; do plugins+=("$(basename "$plugin" .so)"); done

if [ ${#targets[@]} -eq 0 ]; then
  targets=(resource_script bmp png pgm filterproc:all dialog:all)
fi
expanded=()
for target in "${targets[@]}"; do
  case "$target" in
    filterproc:all | dialog:all)
      for plugin in "${plugins[@]}"; do expanded+=("${target%%:*}:$plugin"); done
      ;;
    *) expanded+=("$target") ;;
  esac
done

mkdir -p build/fuzz/artifacts
figures=build/fuzz/figures.txt
: >"$figures"
failed=0
# The platform layer and the plug-ins take the shared sanitizer runtime; it is
# loaded first in fact, though not named first in the executables.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:verify_asan_link_order=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "${expanded[@]}"; do
  binary="${target%%:*}"
  plugin=""
  [[ "$target" == *:* ]] && plugin="${target#*:}"
  corpus="build/fuzz/corpus/${target/:/-}"
  mkdir -p "$corpus"
  cp -n "fuzz/corpus/$binary"/* "$corpus"/ 2>/dev/null || true
  log="build/fuzz/${target/:/-}.log"
  status=0
  VF_FUZZ_PLUGIN="$plugin" "build/fuzz/fuzz/fuzz_$binary" -max_total_time="$seconds" -timeout=60 \
    -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/${target/:/-}-" \
    "$corpus" >"$log" 2>&1 || status=$?
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "== fuzz $target: FAULT after $runs executions (log $log)"
    grep -E "ERROR|runtime error|fuzz check failed|SUMMARY" "$log" | head -5 || true
  else
    echo "== fuzz $target: $runs executions in ${seconds}s, no fault"
  fi
  echo "$target $runs $status" >>"$figures"
done
exit "$failed"
