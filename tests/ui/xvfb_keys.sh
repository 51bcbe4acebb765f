#!/bin/sh
# Drives the real tarvix under Xvfb with real X key and mouse events
# (xdotool), where keys carry the texts X11 gives them (Ctrl+C as "\x03",
# Delete as "\x7f"). Refused keys must raise the real message box exactly
# once, keys that type nothing none; then the typical design is entered with
# no message on the way, step 1 from the keyboard alone, and the screen is
# saved. The window must carry the class its desktop entry names.
# Exits 77 (skipped) only when Xvfb or xdotool is missing or Xvfb cannot start.
#
#   xvfb_keys.sh TARVIX TARVIX_GRAB OUTPUT.png DESKTOP_ENTRY
set -u

tarvix=$1
grab=$2
output=$3
desktop_entry=$4

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "xvfb_keys: SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done

fail() {
  echo "xvfb_keys: FAIL: $*" >&2
  cat "$workdir/tarvix.log" >&2 2>/dev/null
  exit 1
}

script=xvfb_keys
. "$(dirname "$0")/xvfb_session.sh"

"$tarvix" >"$workdir/tarvix.log" 2>&1 &
app_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Loaded Dipole Antenna') ||
  fail "the window did not appear"
xdotool windowfocus --sync "$window"

# Docks and launchers link the window to its menu entry by its X11 class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
[ -n "$wm_class" ] || fail "$desktop_entry names no StartupWMClass"
xdotool search --class "^$wm_class\$" | grep -qx "$window" ||
  fail "the window's class is not $wm_class, as the desktop entry says"

# Message boxes carry the caption "Tarvix" alone.
boxes() { xdotool search --onlyvisible --name '^Tarvix$' 2>/dev/null | wc -l; }

expect_no_box() { # WHAT
  sleep 0.5
  [ "$(boxes)" -eq 0 ] || fail "$1 raised a message box"
}

expect_one_box() { # WHAT
  tries=0
  while [ "$(boxes)" -eq 0 ]; do
    [ "$tries" -ge 50 ] && fail "$1 raised no message box"
    tries=$((tries + 1))
    sleep 0.1
  done
  sleep 0.5
  [ "$(boxes)" -eq 1 ] || fail "$1 raised more than one message box"
  # OK is the box's default button.
  xdotool key Return
  tries=0
  while [ "$(boxes)" -ne 0 ]; do
    [ "$tries" -ge 50 ] && fail "the message box of $1 did not close on Return"
    tries=$((tries + 1))
    sleep 0.1
  done
  sleep 0.3
  expect_no_box "closing the message box of $1"
}

click() { # X Y, in window coordinates; without a window manager the window is at 0,0
  xdotool mousemove --sync "$1" "$2" click 1
  sleep 0.3
}

xdotool type --delay 50 7
expect_no_box "typing 7 into txtF"
xdotool key a
expect_one_box "the letter a"
xdotool key ctrl+c
expect_one_box "Ctrl+C"
xdotool key ctrl+v
expect_one_box "Ctrl+V"
xdotool key minus
expect_one_box "the minus sign"
xdotool key Home Delete End Left Right
expect_no_box "keys that type nothing"

# The rest of the typical design. Tab selects the next box's blank, which
# the typed digits replace.
xdotool key Tab
xdotool type --delay 50 60
xdotool key Tab
xdotool type --delay 50 20
expect_no_box "A = 60 and B = 20"
# Two Tabs pass the gauge list to Command1; Space presses it. The focus goes
# on from the hidden button to txtD1, whose filter must see the next key.
xdotool key Tab Tab space
expect_no_box "step 1"
xdotool key a
expect_one_box "a letter typed right after step 1"
xdotool type --delay 50 2
xdotool key Tab
xdotool type --delay 50 2
click 464 212 # Command2
expect_no_box "step 2"

kill -0 "$app_pid" 2>/dev/null || fail "tarvix is no longer running"
"$grab" "$output" --crop --timeout 10 || fail "the screen could not be saved"
echo "xvfb_keys: real keys filtered as expected; screen after the design in $output"
