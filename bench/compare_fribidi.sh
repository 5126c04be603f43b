#!/usr/bin/env bash
# Compares mirval-convert's conversion to visual order with GNU FriBidi's
# fribidi command on generated code page 1255 texts, and checks three goals:
#   throughput  mirval-convert at least 20 times fribidi's, on 10 MB
#   memory      mirval-convert's peak resident memory at most 4 times the input
#   linearity   the 10 MB run takes at most 12 times the 1 MB run
# Builds nothing: the build directory (default build/) must already hold
# bench/mirval-bench-text and src/cli/mirval-convert.
#
# usage: bench/compare_fribidi.sh [BUILD_DIR]
# environment: MIRVAL_BENCH_RUNS  runs per measurement (default 5; the median counts)
#
# Prints PASS or FAIL per goal; exits 0 unless a command fails.
set -euo pipefail

BUILD_DIR=${1:-build}
RUNS=${MIRVAL_BENCH_RUNS:-5}
MIB=1048576
SMALL=$((1 * MIB))
LARGE=$((10 * MIB))
SPEED_GOAL=20
MEMORY_FACTOR=4
LINEAR_GOAL=12
FRIBIDI_SLOW_NS=60000000000  # a fribidi run slower than 60 s is run only once

TEXTGEN=$BUILD_DIR/bench/mirval-bench-text
CONVERT=$BUILD_DIR/src/cli/mirval-convert
MAXRSS=$BUILD_DIR/bench/mirval-bench-maxrss

die() {
    echo "compare_fribidi: $*" >&2
    exit 2
}

[[ -x $TEXTGEN ]] || die "$TEXTGEN not found; build target mirval-bench-text first"
[[ -x $CONVERT ]] || die "$CONVERT not found; build target mirval-convert first"
command -v fribidi >/dev/null || die "fribidi not found (Debian package libfribidi-bin)"
[[ $RUNS =~ ^[1-9][0-9]*$ ]] || die "MIRVAL_BENCH_RUNS must be a positive number"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

now_ns() { date +%s%N; }

# Runs a command and prints its wall-clock time in nanoseconds.
elapsed_ns() {
    local start end
    start=$(now_ns)
    "$@" || die "command failed: $*"
    end=$(now_ns)
    echo $((end - start))
}

median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 }
        END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.0f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# MB/s (1 MB = 2^20 bytes) for a byte count and a time in nanoseconds.
throughput() { awk -v b="$1" -v ns="$2" 'BEGIN { printf "%.1f", (b / 1048576) / (ns / 1e9) }'; }
seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
# PASS when a number is at least / at most a limit, else FAIL.
at_least() { awk -v v="$1" -v l="$2" 'BEGIN { print (v + 0 >= l + 0) ? "PASS" : "FAIL" }'; }
at_most() { awk -v v="$1" -v l="$2" 'BEGIN { print (v + 0 <= l + 0) ? "PASS" : "FAIL" }'; }

# shellcheck disable=SC2317  # both runners are called through time_runs and elapsed_ns
run_mirval() { "$CONVERT" to-visual --no-break-lines "$1" -o "$2"; }
# shellcheck disable=SC2317
run_fribidi() { fribidi --charset CP1255 --nopad --nobreak --rtl "$1" >"$2"; }

# Median time of RUNS runs of a converter on a file; the output is kept.
time_runs() {
    local runner=$1 input=$2 output=$3 runs=$4 times=() k
    local t
    for ((k = 0; k < runs; k++)); do
        t=$(elapsed_ns "$runner" "$input" "$output")
        times+=("$t")
    done
    median "${times[@]}"
}

# Sets PEAK to the command's peak resident memory in KiB and PEAK_TOOL to how
# it was measured: GNU time where it works, else our own wrapper (wait4's
# ru_maxrss), else VmHWM read from /proc while the command runs (a sample every
# 10 ms, so a late peak may be missed).
measure_peak() {
    local memfile=$WORK/peak
    if [[ -x /usr/bin/time ]] && /usr/bin/time -f %M -o "$memfile" true 2>/dev/null; then
        PEAK_TOOL="/usr/bin/time -f %M"
        /usr/bin/time -f %M -o "$memfile" "$@" || die "command failed: $*"
        PEAK=$(tail -n 1 "$memfile")
    elif [[ -x $MAXRSS ]]; then
        PEAK_TOOL="mirval-bench-maxrss"
        "$MAXRSS" -o "$memfile" "$@" || die "command failed: $*"
        PEAK=$(tail -n 1 "$memfile")
    else
        PEAK_TOOL="VmHWM sampled from /proc"
        "$@" &
        local pid=$! value
        PEAK=0
        while kill -0 "$pid" 2>/dev/null; do
            value=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
            if [[ -n $value && $value -gt $PEAK ]]; then
                PEAK=$value
            fi
            sleep 0.01
        done
        wait "$pid" || die "command failed: $*"
    fi
    [[ $PEAK =~ ^[0-9]+$ ]] || die "could not measure peak memory ($PEAK_TOOL)"
}

echo "Generating logical texts of $SMALL and $LARGE bytes..."
"$TEXTGEN" logical "$SMALL" -o "$WORK/small.txt" || die "mirval-bench-text failed"
"$TEXTGEN" logical "$LARGE" -o "$WORK/large.txt" || die "mirval-bench-text failed"

echo "mirval-convert to-visual --no-break-lines: $RUNS runs on each text..."
mirval_small=$(time_runs run_mirval "$WORK/small.txt" "$WORK/small.mirval" "$RUNS")
mirval_large=$(time_runs run_mirval "$WORK/large.txt" "$WORK/large.mirval" "$RUNS")

echo "fribidi --charset CP1255 --nopad --nobreak --rtl on the 10 MB text..."
fribidi_first=$(elapsed_ns run_fribidi "$WORK/large.txt" "$WORK/large.fribidi")
fribidi_runs=$RUNS
if ((fribidi_first > FRIBIDI_SLOW_NS)); then
    fribidi_runs=1
elif ((fribidi_first * RUNS > 3 * FRIBIDI_SLOW_NS)); then
    fribidi_runs=$((3 * FRIBIDI_SLOW_NS / fribidi_first))
    ((fribidi_runs >= 1)) || fribidi_runs=1
fi
fribidi_times=("$fribidi_first")
for ((k = 1; k < fribidi_runs; k++)); do
    t=$(elapsed_ns run_fribidi "$WORK/large.txt" "$WORK/large.fribidi")
    fribidi_times+=("$t")
done
fribidi_large=$(median "${fribidi_times[@]}")

measure_peak "$CONVERT" to-visual --no-break-lines "$WORK/large.txt" -o "$WORK/large.mirval"
peak=$PEAK

mirval_mbs=$(throughput "$LARGE" "$mirval_large")
fribidi_mbs=$(throughput "$LARGE" "$fribidi_large")
speed_ratio=$(awk -v m="$fribidi_large" -v f="$mirval_large" 'BEGIN { printf "%.1f", m / f }')
linear_ratio=$(awk -v l="$mirval_large" -v s="$mirval_small" 'BEGIN { printf "%.2f", l / s }')
peak_bytes=$((peak * 1024))
memory_limit=$((MEMORY_FACTOR * LARGE))

echo
echo "Input: $LARGE bytes, lines of 40-120 characters ending in CR LF"
printf '  %-10s %10s s  %8s MB/s  (median of %d runs, output %d bytes)\n' \
    mirval "$(seconds "$mirval_large")" "$mirval_mbs" "$RUNS" "$(stat -c %s "$WORK/large.mirval")"
printf '  %-10s %10s s  %8s MB/s  (median of %d runs, output %d bytes)\n' \
    fribidi "$(seconds "$fribidi_large")" "$fribidi_mbs" "$fribidi_runs" \
    "$(stat -c %s "$WORK/large.fribidi")"
echo
printf 'Throughput  mirval / fribidi = %sx (goal >= %dx): %s\n' \
    "$speed_ratio" "$SPEED_GOAL" "$(at_least "$speed_ratio" "$SPEED_GOAL")"
printf 'Memory      mirval peak %d KiB = %.2fx the input, limit %d KiB (%dx) [%s]: %s\n' \
    "$peak" "$(awk -v p="$peak_bytes" -v s="$LARGE" 'BEGIN { print p / s }')" \
    $((memory_limit / 1024)) "$MEMORY_FACTOR" "$PEAK_TOOL" \
    "$(at_most "$peak_bytes" "$memory_limit")"
printf 'Linearity   mirval 10 MB %s s / 1 MB %s s = %s (goal <= %d): %s\n' \
    "$(seconds "$mirval_large")" "$(seconds "$mirval_small")" "$linear_ratio" "$LINEAR_GOAL" \
    "$(at_most "$linear_ratio" "$LINEAR_GOAL")"
exit 0
