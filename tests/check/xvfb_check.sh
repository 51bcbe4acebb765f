#!/bin/sh
# Drives the real tarvix-check under Xvfb with real X keys and clicks
# (xdotool): a frequency typed with the keyboard, Enter to simulate, and the
# plot saved through the file dialog once the result is in. The window must
# carry the class its desktop entry names. Exits 77 (skipped) only when Xvfb,
# xdotool or nec2c is missing or Xvfb cannot start.
#
#   xvfb_check.sh TARVIX_CHECK DESKTOP_ENTRY
set -u

check=$1
desktop_entry=$2

for tool in Xvfb xdotool nec2c; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "xvfb_check: SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done

fail() {
  echo "xvfb_check: FAIL: $*" >&2
  cat "$workdir/check.log" >&2 2>/dev/null
  exit 1
}

script=xvfb_check
xvfb_screen=1280x820x24
. "$(dirname "$0")/../ui/xvfb_session.sh"

# Settings of its own: the window starts from its defaults.
HOME="$workdir" "$check" >"$workdir/check.log" 2>&1 &
app_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvix Antenna Check$') ||
  fail "the window did not appear"
xdotool windowfocus --sync "$window"

wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
xdotool search --class "^$wm_class\$" | grep -qx "$window" ||
  fail "the window's class is not $wm_class, as the desktop entry says"

# Alt+F is no shortcut here: the frequency box is reached by a click (no
# window manager: the window is at 0,0; the box is below the design file's
# buttons) and typed over.
sleep 0.5
xdotool mousemove --sync 220 88 click 1
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 50 "7.1"
xdotool key Return

# Save plot (Alt+O) does nothing until there is a plot; its dialog then opens.
tries=0
while ! xdotool search --onlyvisible --name '^Save the plot$' >/dev/null 2>&1; do
  [ "$tries" -ge 60 ] && fail "no plot to save a minute after Enter"
  tries=$((tries + 1))
  sleep 1
  xdotool key alt+o
done
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$workdir/plot.svg"
xdotool key Return

tries=0
while [ ! -s "$workdir/plot.svg" ]; do
  [ "$tries" -ge 50 ] && fail "the plot was not saved"
  tries=$((tries + 1))
  sleep 0.1
done
grep -q "<svg" "$workdir/plot.svg" || fail "the saved plot is no SVG"
grep -q "7.1 MHz" "$workdir/plot.svg" || fail "the saved plot is not of the 7.1 MHz design"
kill -0 "$app_pid" 2>/dev/null || fail "tarvix-check is no longer running"
echo "xvfb_check: typed, simulated and saved the plot"

# Ended by a signal while an engine runs (TERM: a program started in the
# background here ignores INT, as Ctrl+C would send it): the program ends by
# the signal, with no engine left running and its folder gone.
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
mkdir "$workdir/slow" "$workdir/tmp"
printf '#!/bin/sh\nexec sleep 599.25\n' >"$workdir/slow/nec2c"
chmod +x "$workdir/slow/nec2c"
HOME="$workdir" TMPDIR="$workdir/tmp" PATH="$workdir/slow:$PATH" "$check" \
  >"$workdir/check.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvix Antenna Check$') ||
  fail "the window did not appear again"
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool mousemove --sync 220 88 click 1
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 50 "7.2"
xdotool key Return
tries=0
while ! pgrep -f 'sleep 599.25' >/dev/null; do
  [ "$tries" -ge 300 ] && fail "the slow engine never started"
  tries=$((tries + 1))
  sleep 0.1
done
kill -TERM "$app_pid"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 143 ] || fail "tarvix-check ended with status $status, not by SIGTERM"
pgrep -f 'sleep 599.25' >/dev/null && fail "an engine outlived tarvix-check"
[ -z "$(ls -A "$workdir/tmp")" ] || fail "the temporary folder was left: $(ls -A "$workdir/tmp")"
echo "xvfb_check: a signal during a run left no engine and no folder"
