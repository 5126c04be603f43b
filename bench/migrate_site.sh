#!/bin/sh
# Migrating a generated site with mirval-convert to-modern, one file at a time
# (-j 1) against two at a time (-j 2): pages per second, megabytes per second
# and the speed-up. The site: PAGES visual pages of about SIZE each (prose of
# Hebrew, Latin, numbers, punctuation and tags made visual by to-visual) in 20
# folders. Each run is timed twice and the faster counts (the machine may be
# shared). The two runs' outputs must be the same bytes. Every file is
# written atomically (synced to disk), so the time includes those waits, which
# two workers overlap.
#
# usage: bench/migrate_site.sh [BUILD_DIR] [PAGES] [SIZE]   (defaults: build 2000 100K)
set -eu
build=${1:-build}
pages=${2:-2000}
size=${3:-100K}
text="$build/bench/mirval-bench-text"
convert="$build/src/cli/mirval-convert"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

i=0
while [ "$i" -lt "$pages" ]; do
    folder="$work/logical/part$((i % 20))"
    mkdir -p "$folder"
    {
        printf '<html><head><title>%s</title></head><body>\r\n' "$i"
        "$text" prose "$size" --seed "$i"
        printf '\r\n</body></html>\r\n'
    } >"$folder/page$i.htm"
    i=$((i + 1))
done
"$convert" to-visual --quiet -j 2 --output-dir "$work/visual" "$work/logical"
rm -rf "$work/logical"
bytes=$(du -sb "$work/visual" | cut -f1)
echo "site: $pages pages, $((bytes / 1048576)) MiB"

now() { date +%s.%N; }
best=""
for jobs in 1 2; do
    fastest=""
    for round in 1 2; do
        rm -rf "$work/modern$jobs"
        start=$(now)
        "$convert" to-modern --quiet -j "$jobs" --output-dir "$work/modern$jobs" "$work/visual"
        seconds=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')
        if [ -z "$fastest" ] || awk -v s="$seconds" -v f="$fastest" 'BEGIN { exit !(s < f) }'; then
            fastest=$seconds
        fi
    done
    awk -v j="$jobs" -v s="$fastest" -v p="$pages" -v b="$bytes" \
        'BEGIN { printf "-j %s: %.2f s, %.0f pages/s, %.1f MiB/s\n", j, s, p / s, b / 1048576 / s }'
    if [ "$jobs" = 1 ]; then
        best=$fastest
    else
        awk -v a="$best" -v b="$fastest" 'BEGIN { printf "speed-up: %.2f\n", a / b }'
    fi
done
diff -r -q "$work/modern1" "$work/modern2" >/dev/null && echo "outputs: the same bytes"
