#!/usr/bin/env bash
# Instructions per iteration of every benchmark, counted by callgrind: a
# measure that does not change with the load on the machine. Each benchmark
# runs twice under callgrind with a fixed number of iterations (--iterations);
# the difference of the two totals divided by the difference of the counts is
# the cost of one iteration, with start-up and set-up cancelled out.
#
#   bench/instructions.sh [BUILD_DIR] [FILTER]
#
# BUILD_DIR defaults to build-bench; FILTER is a regular expression that picks
# benchmarks by name (default: all).
set -euo pipefail

build_dir=${1:-build-bench}
filter=${2:-.}
programs=(tarvix_calc_bench tarvix_entry_bench tarvix_window_bench)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Iteration counts: enough for the per-iteration cost to dwarf any jitter,
# few enough for the slow ones to finish in seconds under callgrind. The
# differences are even, so that benchmarks alternating two kinds of
# iteration (a key and a backspace, two pasted texts) count both equally.
iterations_for() {
    case $1 in
    window/paste*) echo "1 3" ;;
    *paste*) echo "2 6" ;;
    window/create*) echo "4 12" ;;
    window/*) echo "100 500" ;;
    *) echo "1000 11000" ;;
    esac
}

# Total instructions of one run; callgrind prints "Collected : N" at exit.
count() { # PROGRAM NAME ITERATIONS
    # A fixed iteration count shows in the name as "/iterations:N".
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" \
        "--benchmark_filter=^$2/iterations:$3\$" "--iterations=$3" \
        >"$work/run.log" 2>"$work/callgrind.log" || {
        echo "instructions.sh: $2 failed under callgrind:" >&2
        cat "$work/run.log" "$work/callgrind.log" >&2
        exit 1
    }
    if ! grep -q "^$2/iterations:$3 " "$work/run.log" || grep -q "ERROR OCCURRED" "$work/run.log"; then
        echo "instructions.sh: $2 did not run as asked:" >&2
        cat "$work/run.log" >&2
        exit 1
    fi
    sed -n 's/^==[0-9]*== Collected : \([0-9]*\)$/\1/p' "$work/callgrind.log"
}

printf '%-42s %16s\n' "benchmark" "instructions/iteration"
for program in "${programs[@]}"; do
    path=$build_dir/bench/$program
    if [ ! -x "$path" ]; then
        echo "instructions.sh: $path is missing; run 'make bench'" >&2
        exit 2
    fi
    "$path" --benchmark_list_tests=true "--benchmark_filter=$filter" >"$work/names"
    while read -r name; do
        read -r few many <<<"$(iterations_for "$name")"
        low=$(count "$path" "$name" "$few")
        high=$(count "$path" "$name" "$many")
        awk -v n="$name" -v l="$low" -v h="$high" -v a="$few" -v b="$many" \
            'BEGIN { printf "%-42s %16.0f\n", n, (h - l) / (b - a) }'
    done <"$work/names"
done
