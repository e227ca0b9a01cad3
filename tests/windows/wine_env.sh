# Sourced by the wine64 suites: a private Wine prefix under the win64 build
# folder, a Japanese locale (code page 932), one Xvfb display and one
# persistent wineserver for the whole suite, all ended on exit.
#
#   wine_env_start WIN64_BUILD_DIR   sets WINE, runs nothing yet; returns 77
#                                    (with the reason on stderr) when a tool
#                                    is missing
#   wine_run ARGS...                 runs a Windows program under wine64

WINE_ENV_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

wine_env_skip() {
  echo "SKIPPED: $*" >&2
  return 77
}

wine_env_find_wine() {
  if [ -x /usr/lib/wine/wine64 ]; then
    WINE=/usr/lib/wine/wine64
  elif command -v wine64 >/dev/null; then
    WINE="$(command -v wine64)"
  else
    return 1
  fi
  WINESERVER="$(dirname "$WINE")/wineserver"
  [ -x "$WINESERVER" ] || WINESERVER="$(command -v wineserver || true)"
  [ -n "$WINESERVER" ]
}

wine_env_stop() {
  if [ -n "${WINE_ENV_SERVER_STARTED:-}" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    WINE_ENV_SERVER_STARTED=
  fi
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=
  fi
}

wine_env_start_display() {
  local display
  for display in $(seq 91 130); do
    [ -e "/tmp/.X${display}-lock" ] && continue
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- &
    WINE_ENV_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ]; then
      export DISPLAY=":$display"
      return 0
    fi
    WINE_ENV_XVFB_PID=
  done
  return 1
}

wine_env_start() {
  local build="$1"
  wine_env_find_wine || { wine_env_skip "wine64 is not installed"; return; }
  command -v Xvfb >/dev/null || { wine_env_skip "Xvfb is not installed (package xvfb)"; return; }
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' ||
    { wine_env_skip "the locale ja_JP.UTF-8 is not generated (localedef -i ja_JP -f UTF-8 ja_JP.UTF-8)"; return; }
  [ -f "$build/bin/vfhost.exe" ] || { wine_env_skip "$build/bin/vfhost.exe is not built (win64 preset)"; return; }

  # One suite at a time on a prefix: a second one waits here for the first.
  command -v flock >/dev/null || { wine_env_skip "flock is not installed (package util-linux)"; return; }
  exec {WINE_ENV_LOCK_FD}>"$build/.wineprefix.lock"
  flock -w 3600 "$WINE_ENV_LOCK_FD" || { wine_env_skip "another suite held the Wine prefix for an hour"; return; }

  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  trap wine_env_stop EXIT
  wine_env_start_display || { wine_env_skip "Xvfb could not open a display"; return; }
  if [ ! -f "$WINEPREFIX/.vf-ready" ]; then
    echo "== creating the Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- || true
    "$WINESERVER" -w
    # Japanese fonts for the dialogs' faces and the system's own; windows
    # drawn by Wine itself (no window manager on the display).
    iconv -f UTF-8 -t CP932 "$WINE_ENV_DIR/wine_settings.reg" >"$WINEPREFIX/drive_c/vf_settings.reg"
    "$WINE" regedit /S 'C:\vf_settings.reg' >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&-
    "$WINESERVER" -w
    touch "$WINEPREFIX/.vf-ready"
  fi
  "$WINESERVER" -p {WINE_ENV_LOCK_FD}>&-
  WINE_ENV_SERVER_STARTED=1
  # Wine's own background processes (services, the desktop) start with the
  # first program and outlive it; start them here, away from any pipe.
  "$WINE" wineboot </dev/null >/dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- || true
}

# Runs a Windows program; its standard output goes to the file $1, with the
# line ends made Unix ones (never a pipe: a background process of Wine's that
# inherits one would hold it open). Programs started here must not hold the
# suite's lock after it ends.
wine_run() {
  local out="$1" status
  shift
  timeout "${WINE_RUN_TIMEOUT:-600}" "$WINE" "$@" </dev/null >"$out.raw" {WINE_ENV_LOCK_FD}>&-
  status=$?
  tr -d '\r' <"$out.raw" >"$out"
  rm -f "$out.raw"
  return $status
}
