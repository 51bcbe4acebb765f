# Sourced by the Xvfb tests: makes a work directory, starts Xvfb on a free
# display and sets up the environment for a Qt program on it. The caller sets
# $script (its name for messages) first and $app_pid once it starts the
# program; both are stopped and the work directory removed on exit. Exits 77
# (skipped) when Xvfb cannot start. $xvfb_screen, when set, is the screen's
# size and depth (default 800x500x24).

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
Xvfb -displayfd 3 -screen 0 "${xvfb_screen:-800x500x24}" -br -nolisten tcp -nolisten unix-abstract \
  3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$workdir/display" ]; do
  if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$tries" -ge 100 ]; then
    echo "$script: SKIP: Xvfb could not start:"
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
