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

script=xvfb_screenshot
. "$(dirname "$0")/xvfb_session.sh"

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
