#!/bin/sh
# Started with no display server where it needs one (X11 or Wayland, by
# default or by QT_QPA_PLATFORM), tarvix says so in one line and exits with 1,
# instead of the toolkit aborting with a core dump.
#   no_display.sh TARVIX
set -u
tarvix=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT

for platform in "" xcb wayland; do
  if [ -n "$platform" ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" "$tarvix" 2>"$err" >/dev/null
  else
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tarvix" 2>"$err" >/dev/null
  fi
  status=$?
  if [ "$status" -ne 1 ]; then
    echo "no_display: platform '$platform': expected exit status 1, got $status" >&2
    cat "$err" >&2
    exit 1
  fi
  if [ "$(cat "$err")" != "tarvix: no display available (set DISPLAY or QT_QPA_PLATFORM)" ]; then
    echo "no_display: platform '$platform': unexpected message:" >&2
    cat "$err" >&2
    exit 1
  fi
done
echo "no_display: refused to start without a display, as it should"
