#!/usr/bin/env bash
# Compares mirval-convert's conversion to visual order with GNU FriBidi's
# fribidi command on generated code page 1255 texts, and checks two goals:
#   throughput  mirval-convert at least 20 times fribidi's, for
#               `to-visual --no-break-lines` and `to-visual` (default line
#               breaking), on 10 MB and on 100 MB
#   memory      the streamed commands (to-visual, lower-tags, table) stay
#               under 32 MB of peak resident memory, on a 10 MB file and on
#               1 GB generated on the fly through a pipe
# Times are CPU time (user + system of the command and its children, from
# wait4 through a few lines of python3, in microseconds, kept to 0.1 ms; GNU
# time rounds to 10 ms, and 1 ms moves a 10 MB ratio by about 1x), not wall time: the machine may be shared. mirval-convert and fribidi runs alternate (A B C A B
# C ...) so that both see the same load, and the medians are compared.
# Builds nothing: the build directory (default build/; measure a Release
# build) must already hold bench/mirval-bench-text and src/cli/mirval-convert.
#
# usage: bench/compare_fribidi.sh [BUILD_DIR]
# environment: MIRVAL_BENCH_RUNS  paired runs per size (default 5)
#              MIRVAL_CONVERT     another mirval-convert to measure
#
# Prints PASS or FAIL per goal; exits 0 unless a command fails (2).
set -euo pipefail

BUILD_DIR=${1:-build}
RUNS=${MIRVAL_BENCH_RUNS:-5}
MIB=1048576
SPEED_GOAL=20
RSS_LIMIT_KIB=$((32 * 1024))
PIPE_COPIES=100  # the 1 GB input: the 10 MB text a hundred times over

TEXTGEN=$BUILD_DIR/bench/mirval-bench-text
CONVERT=${MIRVAL_CONVERT:-$BUILD_DIR/src/cli/mirval-convert}
# Runs a command and writes "user system maxrss_kib" of it to the file $1.
USAGE_PY='import os, sys
pid = os.fork()
if pid == 0:
    os.execvp(sys.argv[2], sys.argv[2:])
_, status, ru = os.wait4(pid, 0)
open(sys.argv[1], "w").write("%.6f %.6f %d\n" % (ru.ru_utime, ru.ru_stime, ru.ru_maxrss))
sys.exit(os.waitstatus_to_exitcode(status))'

die() {
    echo "compare_fribidi: $*" >&2
    exit 2
}

[[ -x $TEXTGEN ]] || die "$TEXTGEN not found; build target mirval-bench-text first"
[[ -x $CONVERT ]] || die "$CONVERT not found; build target mirval-convert first"
command -v fribidi >/dev/null || die "fribidi not found (Debian package libfribidi-bin)"
python3 -c 'import os; os.wait4' 2>/dev/null || die "python3 not found"
[[ $RUNS =~ ^[1-9][0-9]*$ ]] || die "MIRVAL_BENCH_RUNS must be a positive number"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 }
        END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
at_least() { awk -v v="$1" -v l="$2" 'BEGIN { print (v + 0 >= l + 0) ? "PASS" : "FAIL" }'; }
below() { awk -v v="$1" -v l="$2" 'BEGIN { print (v + 0 < l + 0) ? "PASS" : "FAIL" }'; }

# Runs a command (its standard output is the file in $OUT) and sets CPU to
# its user + system seconds and PEAK to its peak resident memory in KiB.
# Each run writes a new output file: ext4 writes back the pages of a file that
# is truncated and written again as it is closed (auto_da_alloc), which
# charges the writer's system time with 6 ms or so on 10 MB. A conversion
# with -o always writes a new temporary file, so a new file is what it meets.
measure() {
    [[ $OUT == "$WORK"/* ]] && rm -f "$OUT"
    python3 -c "$USAGE_PY" "$WORK/usage" "$@" >"$OUT" || die "command failed: $*"
    read -r user sys PEAK <"$WORK/usage"
    CPU=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.4f", u + s }')
}

echo "Generating a logical text of 10 MB and one of 100 MB..."
"$TEXTGEN" logical 10M -o "$WORK/10.txt" || die "mirval-bench-text failed"
"$TEXTGEN" logical 100M -o "$WORK/100.txt" || die "mirval-bench-text failed"

declare -A RATIO
for size in 10 100; do
    input=$WORK/$size.txt
    nobreak=() breaking=() fribidi=()
    echo "$size MB: $RUNS rounds of to-visual --no-break-lines, fribidi, to-visual..."
    for ((k = 0; k < RUNS; k++)); do
        OUT=$WORK/out.nobreak measure "$CONVERT" to-visual --no-break-lines "$input"
        nobreak+=("$CPU")
        OUT=$WORK/out.fribidi measure fribidi --charset CP1255 --nopad --nobreak --rtl "$input"
        fribidi+=("$CPU")
        OUT=$WORK/out.break measure "$CONVERT" to-visual "$input"
        breaking+=("$CPU")
    done
    m_nobreak=$(median "${nobreak[@]}")
    m_break=$(median "${breaking[@]}")
    m_fribidi=$(median "${fribidi[@]}")
    RATIO[$size.nobreak]=$(awk -v f="$m_fribidi" -v m="$m_nobreak" 'BEGIN { printf "%.1f", f / m }')
    RATIO[$size.break]=$(awk -v f="$m_fribidi" -v m="$m_break" 'BEGIN { printf "%.1f", f / m }')
    printf '  CPU s (median): to-visual --no-break-lines %s, to-visual %s, fribidi %s\n' \
        "$m_nobreak" "$m_break" "$m_fribidi"
done

echo "Peak memory: the 10 MB file, and the 10 MB text $PIPE_COPIES times through a pipe..."
declare -A RSS
for command in "to-visual --no-break-lines" "to-visual" "lower-tags" "table"; do
    # shellcheck disable=SC2086  # the command holds its options
    OUT=/dev/null measure "$CONVERT" $command "$WORK/10.txt"
    RSS[$command.10]=$PEAK
    # shellcheck disable=SC2086
    OUT=/dev/null measure bash -c "for ((i = 0; i < $PIPE_COPIES; i++)); do cat '$WORK/10.txt'; done |
        exec '$CONVERT' $command"
    RSS[$command.1000]=$PEAK
done

echo
echo "Throughput, fribidi's CPU time / mirval-convert's (goal >= ${SPEED_GOAL}x):"
for size in 10 100; do
    printf '  %4s MB  to-visual --no-break-lines %6sx %s   to-visual %6sx %s\n' "$size" \
        "${RATIO[$size.nobreak]}" "$(at_least "${RATIO[$size.nobreak]}" "$SPEED_GOAL")" \
        "${RATIO[$size.break]}" "$(at_least "${RATIO[$size.break]}" "$SPEED_GOAL")"
done
echo "Peak resident memory in KiB (goal < $RSS_LIMIT_KIB KiB; the 1 GB run includes the pipe's shell):"
for command in "to-visual --no-break-lines" "to-visual" "lower-tags" "table"; do
    printf '  %-27s 10 MB %8s %s   1 GB %8s %s\n' "$command" \
        "${RSS[$command.10]}" "$(below "${RSS[$command.10]}" "$RSS_LIMIT_KIB")" \
        "${RSS[$command.1000]}" "$(below "${RSS[$command.1000]}" "$RSS_LIMIT_KIB")"
done
exit 0
