#!/usr/bin/env bash
# Start-up comparison: tarvix against a minimal Qt Widgets window (one label),
# both built in the same tree. Each program is started on a private Xvfb
# display; tarvix_first_frame times it from process start to its first drawn
# frame, closes the window and reads its peak resident set size. The two
# programs run alternately, the order swapped every round, and the medians
# and the ratio tarvix / minimal are printed.
#
#   bench/startup.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR defaults to build-bench (a Release build with TARVIX_BENCH=ON);
# ROUNDS to 15. One warm-up run of each program is not counted.
set -euo pipefail

build_dir=${1:-build-bench}
rounds=${2:-15}
probe=$build_dir/bench/tarvix_first_frame
minimal=$build_dir/bench/tarvix_minimal_window
ours=$build_dir/ui/tarvix

for program in "$probe" "$minimal" "$ours"; do
    if [ ! -x "$program" ]; then
        echo "startup.sh: $program is missing; run 'make bench-startup'" >&2
        exit 2
    fi
done
case $rounds in
'' | *[!0-9]* | 0)
    echo "startup.sh: ROUNDS must be a whole number above 0" >&2
    exit 2
    ;;
esac

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: nothing else draws on it, and no window manager
# stands between the programs and the server. Xvfb writes the display number
# to the descriptor once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "startup.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

mkdir -m 700 "$work/runtime"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"

# Prints "MICROSECONDS KILOBYTES" for one start of the program.
measure() {
    local line
    if ! line=$("$probe" -- "$@" 2>>"$work/programs.log"); then
        echo "startup.sh: measuring $* failed:" >&2
        cat "$work/programs.log" >&2
        exit 1
    fi
    local micros=${line#first_frame_us=}
    micros=${micros%% *}
    local kilobytes=${line#*max_rss_kb=}
    kilobytes=${kilobytes%% *}
    echo "$micros $kilobytes"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

record() { # NAME PROGRAM
    local result
    result=$(measure "$2")
    echo "${result% *}" >>"$work/$1.us"
    echo "${result#* }" >>"$work/$1.kb"
}

measure "$minimal" >/dev/null
measure "$ours" >/dev/null
for round in $(seq "$rounds"); do
    if [ $((round % 2)) -eq 1 ]; then
        record minimal "$minimal"
        record tarvix "$ours"
    else
        record tarvix "$ours"
        record minimal "$minimal"
    fi
done

# The peak memory above is the child's ru_maxrss as wait4 reports it, which is
# what /usr/bin/time -f %M prints; one run of each under time shows it.
time_rss() {
    "$probe" -- /usr/bin/time -f %M -o "$work/time.out" "$1" >/dev/null 2>>"$work/programs.log"
    tail -n1 "$work/time.out"
}
time_minimal=$(time_rss "$minimal")
time_ours=$(time_rss "$ours")

minimal_us=$(median <"$work/minimal.us")
ours_us=$(median <"$work/tarvix.us")
minimal_kb=$(median <"$work/minimal.kb")
ours_kb=$(median <"$work/tarvix.kb")

echo "Start-up to first frame on Xvfb $DISPLAY, $rounds rounds, alternating; $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "runs, tarvix  (ms): $(awk '{ printf "%.1f ", $1 / 1000 }' "$work/tarvix.us")"
echo "runs, minimal (ms): $(awk '{ printf "%.1f ", $1 / 1000 }' "$work/minimal.us")"
echo "runs, tarvix  (kB): $(tr '\n' ' ' <"$work/tarvix.kb")"
echo "runs, minimal (kB): $(tr '\n' ' ' <"$work/minimal.kb")"
awk -v mu="$minimal_us" -v ou="$ours_us" -v mk="$minimal_kb" -v ok="$ours_kb" 'BEGIN {
    printf "%-24s %18s %18s\n", "", "first frame (ms)", "peak RSS (kB)"
    printf "%-24s %18.1f %18d\n", "minimal Qt window", mu / 1000, mk
    printf "%-24s %18.1f %18d\n", "tarvix", ou / 1000, ok
    printf "%-24s %18.3f %18.3f\n", "ratio tarvix / minimal", ou / mu, ok / mk
    printf "%-24s %18s %18s\n", "target", "<= 1.15", "<= 1.10"
}'
echo "/usr/bin/time -f %M, one run each: minimal $time_minimal kB, tarvix $time_ours kB"
