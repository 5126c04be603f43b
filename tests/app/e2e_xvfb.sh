#!/bin/sh
# Starts the built program under a virtual X server with a page to edit, waits
# for its main window, types into the page and saves it with Ctrl+S (real key
# events, through xdotool), and lets the program leave through its exit
# command. Then checks the saved file, the picture the program saved of its
# window, and the window's title. Usage: e2e_xvfb.sh PATH_TO_MIRVAL
# With MIRVAL_SCREENSHOT_OUT set, the picture is also copied there.
set -eu

program=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/mirval-e2e-XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '<html>\r\n<head>\r\n<title>sample</title>\r\n</head>\r\n<body>\r\n<p>MIRVAL</p>\r\n</body>\r\n</html>\r\n' \
    >"$work/sample.htm"

# Runs inside the X server: the program in the background, then a look at the
# window tree once the main window is there.
cat >"$work/inside.sh" <<'INSIDE'
#!/bin/sh
program=$1 work=$2
"$program" --screenshot "$work/shot.png" --quit-after 6000 "$work/sample.htm" \
    >"$work/stdout.txt" 2>"$work/stderr.txt" &
pid=$!
tries=0
while [ $tries -lt 100 ]; do
    if command -v xwininfo >/dev/null 2>&1; then
        xwininfo -root -tree >"$work/windows.txt" 2>/dev/null || true
        grep -q 'MIRVAL - sample.htm' "$work/windows.txt" && break
    fi
    tries=$((tries + 1))
    sleep 0.1
done
# Type at the start of the page and save, as a user would.
if command -v xdotool >/dev/null 2>&1; then
    sleep 0.5
    window=$(xdotool search --name 'MIRVAL - sample.htm' | head -n 1)
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool type --delay 20 'typed '
    xdotool key ctrl+s
fi
wait $pid
INSIDE

status=0
MIRVAL_PROFILE="$work/profile.ini" MIRVAL_RECOVERY_DIR="$work/recovery" timeout 120 xvfb-run -a sh "$work/inside.sh" "$program" "$work" ||
    status=$?
if [ $status -ne 0 ]; then
    echo "mirval ended with status $status" >&2
    cat "$work/stderr.txt" >&2 || true
    exit 1
fi

if [ ! -s "$work/shot.png" ]; then
    echo "no screenshot was saved" >&2
    exit 1
fi
if [ "$(head -c 4 "$work/shot.png" | tail -c 3)" != "PNG" ]; then
    echo "the screenshot is not a PNG file" >&2
    exit 1
fi
if ! grep -q 'sample.htm' "$work/stdout.txt"; then
    echo "the main window's title does not name the file: $(cat "$work/stdout.txt")" >&2
    exit 1
fi
if command -v xwininfo >/dev/null 2>&1 && ! grep -q 'MIRVAL - sample.htm' "$work/windows.txt"; then
    echo "no window titled 'MIRVAL - sample.htm' appeared" >&2
    exit 1
fi
if command -v xdotool >/dev/null 2>&1; then
    if ! grep -q '^typed <html>' "$work/sample.htm"; then
        echo "the typed text was not saved: $(head -c 80 "$work/sample.htm")" >&2
        exit 1
    fi
    if ! grep -q "<meta name='generator' content='MIRVAL'>" "$work/sample.htm"; then
        echo "the saved page has no generator tag" >&2
        exit 1
    fi
fi
if [ -n "${MIRVAL_SCREENSHOT_OUT:-}" ]; then
    cp "$work/shot.png" "$MIRVAL_SCREENSHOT_OUT"
fi
echo "ok: $(cat "$work/stdout.txt")"
