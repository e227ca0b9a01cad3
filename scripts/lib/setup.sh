# Sourced by the project's scripts: installs what the build needs on a fresh
# Debian machine (when run as root) and tells what is missing otherwise.

VF_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export VF_ROOT

vf_missing_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  echo "${missing[@]}"
}

# vf_ensure_packages LABEL PACKAGE...: returns 0 when all are there (installed
# now if we may), 1 otherwise with a message naming what is missing.
vf_ensure_packages() {
  local label="$1"
  shift
  local missing
  missing="$(vf_missing_packages "$@")"
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    echo "== installing for $label: $missing"
    if [ -z "${VF_APT_UPDATED:-}" ]; then
      apt-get update -qq || true
      export VF_APT_UPDATED=1
    fi
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null && return 0
  fi
  echo "== $label: missing packages ($missing); run this script as root to install them"
  return 1
}

VF_NATIVE_PACKAGES=(cmake g++ make libc-bin libpng-dev zlib1g-dev libgtest-dev)
VF_WINDOWS_BUILD_PACKAGES=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev zip)
VF_WINE_PACKAGES=(wine64 xvfb fonts-ipafont-gothic imagemagick x11-apps)

vf_build_native() {
  vf_ensure_packages "the native build" "${VF_NATIVE_PACKAGES[@]}" || exit 1
  cmake --preset native -S "$VF_ROOT" >/dev/null
  cmake --build "$VF_ROOT/build/native" -j "$(nproc)"
}

# The whole test run keeps within a time budget (CI stops a run at 90
# minutes): VF_DEADLINE is the epoch second by which it must be done.
vf_seconds_left() {
  if [ -z "${VF_DEADLINE:-}" ]; then
    echo 1000000
  else
    echo $((VF_DEADLINE - $(date +%s)))
  fi
}
