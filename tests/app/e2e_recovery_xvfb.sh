#!/bin/sh
# Crash recovery end to end, under a virtual X server: starts the built
# program on a page, types into it (real key events, through xdotool), waits
# 3 seconds, kills the program with SIGKILL, starts it again, recovers the
# page in the recovery dialog (Enter: every document's choice is "recover"),
# saves it with Ctrl+S and checks that the saved bytes are the page with the
# typed text in front. Usage: e2e_recovery_xvfb.sh PATH_TO_MIRVAL
# With MIRVAL_SCREENSHOT_OUT set, a picture of the recovery dialog goes there.
set -eu

program=$1
if ! command -v xdotool >/dev/null 2>&1; then
    echo "xdotool is not installed: nothing to type with" >&2
    exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/mirval-recovery-XXXXXX")
trap 'rm -rf "$work"' EXIT

# A page with a generator tag already, so saving adds none.
printf "<html>\r\n<head><meta name='generator' content='MIRVAL'>\r\n</head>\r\n<body>\r\n<p>MIRVAL</p>\r\n</body>\r\n</html>\r\n" \
    >"$work/page.htm"
cp "$work/page.htm" "$work/original.htm"

cat >"$work/inside.sh" <<'INSIDE'
#!/bin/sh
program=$1 work=$2
# Waits until a window whose name matches appears; prints its id.
await() {
    tries=0
    while [ $tries -lt 150 ]; do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        tries=$((tries + 1))
        sleep 0.1
    done
    echo "no window named '$1' appeared" >&2
    return 1
}

"$program" "$work/page.htm" >"$work/first.txt" 2>&1 &
pid=$!
window=$(await 'MIRVAL - page.htm')
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool type --delay 20 'typed '
sleep 3
kill -9 $pid
wait $pid 2>/dev/null || true

"$program" "$work/page.htm" >"$work/second.txt" 2>&1 &
pid=$!
dialog=$(await 'שחזור מסמכים')
sleep 0.5
if [ -n "${MIRVAL_SCREENSHOT_OUT:-}" ] && command -v import >/dev/null 2>&1; then
    import -window root "$MIRVAL_SCREENSHOT_OUT" 2>/dev/null || true
fi
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Return
sleep 1
# The journal's text went into the page opened from the command line: save
# it (the main window takes the keys again once the dialog is gone), then leave.
window=$(await 'MIRVAL - page.htm')
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key ctrl+s
sleep 1
xdotool key alt+F4
sleep 1
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
INSIDE

MIRVAL_PROFILE="$work/profile.ini" MIRVAL_RECOVERY_DIR="$work/recovery" \
    timeout 120 xvfb-run -a sh "$work/inside.sh" "$program" "$work"

expected="$work/expected.htm"
{ printf 'typed '; cat "$work/original.htm"; } >"$expected"
if ! cmp -s "$expected" "$work/page.htm"; then
    echo "the saved page is not the page plus the typed text:" >&2
    od -c "$work/page.htm" | head -n 5 >&2
    cat "$work/first.txt" "$work/second.txt" >&2
    exit 1
fi
if [ -n "$(ls -A "$work/recovery" 2>/dev/null)" ]; then
    echo "journals are left after saving: $(ls "$work/recovery")" >&2
    exit 1
fi
echo "ok: the typed text was recovered and saved"
