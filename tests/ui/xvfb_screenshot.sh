#!/bin/sh
# Starts Xvfb on a free display, starts the real tarvix on it, waits for its
# window to draw, saves the screen as a PNG and checks that tarvix is still
# running. Exits 77 (skipped) only when Xvfb is missing or cannot start.
#
#   xvfb_screenshot.sh TARVIX TARVIX_GRAB OUTPUT.png [--crop]
set -u

tarvix=$1
grab=$2
output=$3
crop=${4:-}

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "xvfb_screenshot: SKIP: Xvfb is not installed (scripts/install-deps installs it)"
  exit 77
fi

workdir=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$workdir"
}
trap cleanup EXIT

# -displayfd lets the server pick a free display number and report it.
Xvfb -displayfd 3 -screen 0 800x500x24 -br -nolisten tcp -nolisten unix-abstract \
  3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$workdir/display" ]; do
  if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$tries" -ge 100 ]; then
    echo "xvfb_screenshot: SKIP: Xvfb could not start:"
    cat "$workdir/xvfb.log"
    xvfb_pid=""
    exit 77
  fi
  tries=$((tries + 1))
  sleep 0.1
done

DISPLAY=":$(cat "$workdir/display")"
export DISPLAY
export QT_QPA_PLATFORM=xcb
# No session bus: otherwise a dbus daemon may be started and left behind.
export DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -m 700 "$workdir/runtime"
export XDG_RUNTIME_DIR="$workdir/runtime"
unset WAYLAND_DISPLAY

"$tarvix" 2>"$workdir/tarvix.log" &
app_pid=$!

if ! "$grab" "$output" $crop --timeout 30; then
  echo "xvfb_screenshot: FAIL: no window was seen on $DISPLAY" >&2
  cat "$workdir/tarvix.log" >&2
  exit 1
fi
if ! kill -0 "$app_pid" 2>/dev/null; then
  echo "xvfb_screenshot: FAIL: tarvix is no longer running" >&2
  cat "$workdir/tarvix.log" >&2
  app_pid=""
  exit 1
fi
if [ ! -s "$output" ]; then
  echo "xvfb_screenshot: FAIL: $output is empty" >&2
  exit 1
fi
echo "xvfb_screenshot: saved $output"
