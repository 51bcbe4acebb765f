#!/usr/bin/env bash
# Start-up comparison: tarvix against a minimal Qt Widgets window (one label),
# both built in the same tree, and the check window tarvix-check against
# tarvix. Each program is started on a private Xvfb
# display; tarvix_first_frame times it from process start to its first drawn
# frame, closes the window and reads its peak resident set size. The minimal
# window runs twice over: at tarvix's client size (643x371), the yardstick the
# targets are set against, and at its own small size. The four run in turn,
# the order changing every round, and the medians, minima, maxima and the
# ratios of tarvix to each, and of tarvix-check to tarvix, are printed.
#
#   bench/startup.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR defaults to build-bench (a Release build with TARVIX_BENCH=ON);
# ROUNDS to 30. One warm-up run of each program is not counted.
set -euo pipefail

build_dir=${1:-build-bench}
rounds=${2:-30}
probe=$build_dir/bench/tarvix_first_frame
minimal=$build_dir/bench/tarvix_minimal_window
ours=$build_dir/ui/tarvix
check=$build_dir/check/tarvix-check
# tarvix's client area in pixels at 96 dpi: 9645 x 5565 twips.
client_size=643x371

for program in "$probe" "$minimal" "$ours" "$check"; do
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
# The check window starts from its own defaults, not from a user's settings.
export XDG_CONFIG_HOME="$work/config"

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

record() { # NAME PROGRAM [ARGUMENT...]
    local name=$1 result
    shift
    result=$(measure "$@")
    echo "${result% *}" >>"$work/$name.us"
    echo "${result#* }" >>"$work/$name.kb"
}

run() { # NAME: one measured start of that program
    case $1 in
    tarvix) record tarvix "$ours" ;;
    same) record same "$minimal" "$client_size" ;;
    small) record small "$minimal" ;;
    check) record check "$check" ;;
    esac
}

measure "$minimal" "$client_size" >/dev/null
measure "$minimal" >/dev/null
measure "$ours" >/dev/null
measure "$check" >/dev/null
# The four in turn, each first, second, third and last as often, before and
# after each of the others.
orders=("tarvix same small check" "same small check tarvix" "small check tarvix same"
    "check tarvix same small" "tarvix check small same" "check small same tarvix"
    "small same tarvix check" "same tarvix check small")
for round in $(seq "$rounds"); do
    for name in ${orders[$((round % ${#orders[@]}))]}; do
        run "$name"
    done
done

# The peak memory above is the child's ru_maxrss as wait4 reports it, which is
# what /usr/bin/time -f %M prints; one run of each under time shows it.
time_rss() {
    "$probe" -- /usr/bin/time -f %M -o "$work/time.out" "$@" >/dev/null 2>>"$work/programs.log"
    tail -n1 "$work/time.out"
}
time_same=$(time_rss "$minimal" "$client_size")
time_ours=$(time_rss "$ours")

# Instructions of one whole run (start, first frame, close) under callgrind:
# a count that, unlike the times, does not change with the machine's load.
instructions() {
    "$probe" --timeout-ms=300000 -- valgrind --tool=callgrind --callgrind-out-file=/dev/null \
        --log-file="$work/callgrind.log" "$@" >/dev/null 2>>"$work/programs.log"
    # Qt forks on the way (to look for a D-Bus session bus), and the forked
    # copy reports a count of its own: take the program's, the first process
    # in the log.
    local pid
    pid=$(sed -n '1s/^==\([0-9]*\)==.*/\1/p' "$work/callgrind.log")
    sed -n "s/^==$pid== Collected : \\([0-9]*\\)\$/\\1/p" "$work/callgrind.log"
}
instructions_same=$(instructions "$minimal" "$client_size")
instructions_ours=$(instructions "$ours")
instructions_check=$(instructions "$check")

# "MEDIAN MIN MAX" of a file of numbers, one a line.
summary() {
    sort -n "$1" | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        print m, v[1], v[NR] }'
}

echo "Start-up to first frame on Xvfb $DISPLAY, $rounds rounds, order changed every round; $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); load average $(cut -d' ' -f1-3 /proc/loadavg)"
for name in tarvix same small check; do
    printf 'runs, %-7s (ms): %s\n' "$name" "$(awk '{ printf "%.1f ", $1 / 1000 }' "$work/$name.us")"
done
for name in tarvix same small check; do
    printf 'runs, %-7s (kB): %s\n' "$name" "$(tr '\n' ' ' <"$work/$name.kb")"
done
awk -v t="$(summary "$work/tarvix.us") $(summary "$work/tarvix.kb")" \
    -v s="$(summary "$work/same.us") $(summary "$work/same.kb")" \
    -v m="$(summary "$work/small.us") $(summary "$work/small.kb")" \
    -v size="$client_size" 'BEGIN {
    split(t, tv, " "); split(s, sv, " "); split(m, mv, " ")
    printf "%-34s %24s %24s\n", "", "first frame (ms)", "peak RSS (kB)"
    printf "%-34s %24s %24s\n", "", "median [min, max]", "median [min, max]"
    row("tarvix", tv); row("minimal window, " size, sv); row("minimal window, small", mv)
    printf "%-34s %24.3f %24.3f\n", "ratio tarvix / minimal " size, tv[1] / sv[1], tv[4] / sv[4]
    printf "%-34s %24s %24s\n", "target", "<= 1.05", "<= 1.08"
    printf "%-34s %24.3f %24.3f\n", "ratio tarvix / minimal small", tv[1] / mv[1], tv[4] / mv[4]
}
function row(label, v) {
    printf "%-34s %24s %24s\n", label, sprintf("%.1f [%.1f, %.1f]", v[1] / 1000, v[2] / 1000, v[3] / 1000), sprintf("%d [%d, %d]", v[4], v[5], v[6])
}'
echo "/usr/bin/time -f %M, one run each: minimal $client_size $time_same kB, tarvix $time_ours kB"
awk -v o="$instructions_ours" -v s="$instructions_same" -v c="$instructions_check" -v size="$client_size" 'BEGIN {
    printf "instructions, one whole run each under callgrind: tarvix %.1f M, minimal %s %.1f M, difference %.1f M; tarvix-check %.1f M\n", o / 1e6, size, s / 1e6, (o - s) / 1e6, c / 1e6
}'
awk -v c="$(summary "$work/check.us") $(summary "$work/check.kb")" \
    -v t="$(summary "$work/tarvix.us") $(summary "$work/tarvix.kb")" 'BEGIN {
    split(c, cv, " "); split(t, tv, " ")
    printf "tarvix-check: first frame %.1f ms [%.1f, %.1f], peak RSS %d kB [%d, %d]; %.3f x and %.3f x tarvix\n", cv[1] / 1000, cv[2] / 1000, cv[3] / 1000, cv[4], cv[5], cv[6], cv[1] / tv[1], cv[4] / tv[4]
}'
