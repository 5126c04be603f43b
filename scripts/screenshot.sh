#!/usr/bin/env bash
# Makes the README's picture: the editor with the shipped visual page
# data/sample.htm and its preview side by side, on a virtual X server.
# Usage: bash scripts/screenshot.sh [OUT.png]   (default docs/mirval.png)
#
# The program opens a copy of the page with its preview (--preview), the
# windows are tiled through the Window menu (real key presses, by xdotool),
# and the program saves a picture of its main window (--screenshot) and leaves.
# A fresh profile keeps the user's settings out of the picture.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIRVAL_BUILD_DIR:-$root/build}"
out="$(realpath -m "${1:-$root/docs/mirval.png}")"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target mirval

work="$(mktemp -d "${TMPDIR:-/tmp}/mirval-shot-XXXXXX")"
trap 'rm -rf "$work"' EXIT
# The preview file is written beside the page: a copy keeps data/ clean.
cp "$root/data/sample.htm" "$root/data/sample-page.htm" "$work/"

cat >"$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -u
program=$1 work=$2
# The Hebrew keyboard layout holds the keys of the menus' Hebrew mnemonics.
setxkbmap il
"$program" --preview --screenshot "$work/shot.png" --quit-after 12000 "$work/sample.htm" \
    >"$work/stdout.txt" 2>"$work/stderr.txt" &
pid=$!
# The main window is made anew once the preview's web view is in it: look
# for it after the page has loaded.
sleep 6
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^MIRVAL - ' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -n "$window" ]; then
    xdotool windowmove "$window" 0 0 windowsize --sync "$window" 1280 800
    sleep 1
    xdotool windowfocus --sync "$window"
    sleep 0.5
    # Window menu ("&חלון"), then tile ("&פרוש"): the page and its preview side by side.
    xdotool key alt+hebrew_het
    sleep 1
    xdotool key hebrew_pe
fi
wait "$pid"
INSIDE

MIRVAL_PROFILE="$work/profile.ini" MIRVAL_RECOVERY_DIR="$work/recovery" \
    timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" \
    bash "$work/inside.sh" "$build/src/app/mirval" "$work" || {
    echo "mirval did not finish; its messages:" >&2
    cat "$work/stderr.txt" >&2 || true
    exit 1
}
if ! grep -q 'sample.htm' "$work/stdout.txt"; then
    echo "the sample page was not open: $(cat "$work/stdout.txt")" >&2
    exit 1
fi
mkdir -p "$(dirname "$out")"
cp "$work/shot.png" "$out"
echo "$out"
