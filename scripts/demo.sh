#!/usr/bin/env bash
# Sets up and builds the suite, then runs every plug-in on the built-in sample
# pictures: demo-out/overview.png shows each result beside the original.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

vf_build_native
out="${1:-demo-out}"
build/native/bin/vfhost demo --out "$out"
echo "== wrote $out/overview.png and $out/index.html"
