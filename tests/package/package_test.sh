#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh and checks it: its name,
# version and dependencies, that every file a Debian desktop expects is in it,
# and that the desktop entry, the metainfo, the MIME type and the manual page
# of mirval-convert are valid and complete.
# Usage: package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
source_dir="$1"
build="$2"
version="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! MIRVAL_BUILD_DIR="$build" "$source_dir/scripts/package.sh" "$tmp/out" >"$tmp/package.log" 2>&1; then
    cat "$tmp/package.log" >&2
    echo "FAIL: scripts/package.sh failed" >&2
    exit 1
fi
debs=("$tmp"/out/mirval_*.deb)
[ "${#debs[@]}" -eq 1 ] || { echo "FAIL: not one package: ${debs[*]}" >&2; exit 1; }
deb="${debs[0]}"

[ "$(dpkg-deb -f "$deb" Package)" = mirval ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not $version"
depends="$(dpkg-deb -f "$deb" Depends)"
# Computed from the shared libraries, and named for what is needed at run time.
for package in libc6 libqt6widgets6 libqt6webenginewidgets6 fonts-dejavu-core hicolor-icon-theme; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
        fail "Depends lacks $package: $depends"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/files"
for file in \
    /usr/bin/mirval \
    /usr/bin/mirval-convert \
    /usr/share/mirval/basic.mvt \
    /usr/share/mirval/mirval.def \
    /usr/share/mirval/h_mirval.htm \
    /usr/share/applications/io.github.mirval.Mirval.desktop \
    /usr/share/metainfo/io.github.mirval.Mirval.metainfo.xml \
    /usr/share/mime/packages/mirval.xml \
    /usr/share/icons/hicolor/scalable/apps/mirval.svg \
    /usr/share/icons/hicolor/48x48/apps/mirval.png \
    /usr/share/icons/hicolor/256x256/apps/mirval.png \
    /usr/share/man/man1/mirval.1.gz \
    /usr/share/man/man1/mirval-convert.1.gz \
    /usr/share/bash-completion/completions/mirval-convert; do
    grep -qx "$file" "$tmp/files" || fail "$file is not in the package"
done
# Nothing outside /usr (no /usr/local, no build paths).
grep -v -e '^/usr/$' -e '^/usr/bin/' -e '^/usr/share/' "$tmp/files" | grep -v '^/$' >"$tmp/stray" || true
[ ! -s "$tmp/stray" ] || fail "files outside /usr/bin and /usr/share: $(cat "$tmp/stray")"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"

desktop="$share/applications/io.github.mirval.Mirval.desktop"
desktop-file-validate "$desktop" >"$tmp/desktop.log" 2>&1 || fail "desktop-file-validate: $(cat "$tmp/desktop.log")"
for key in 'MimeType=text/html;text/plain;application/x-mirval-template;' 'Name[he]=' 'Comment[he]='; do
    grep -qF "$key" "$desktop" || fail "the desktop entry lacks $key"
done

metainfo="$share/metainfo/io.github.mirval.Mirval.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$tmp/appstream.log")"
for element in '<p xml:lang="he">' '<screenshot type="default">' '<image>https://'; do
    grep -qF "$element" "$metainfo" || fail "the metainfo lacks $element"
done

# The MIME database built from the package's file knows the template type.
mkdir -p "$tmp/mime/packages"
cp "$share/mime/packages/mirval.xml" "$tmp/mime/packages/"
update-mime-database "$tmp/mime" >/dev/null 2>&1 || fail "update-mime-database rejected mirval.xml"
grep -q '\*\.mvt' "$tmp/mime/globs" 2>/dev/null || fail "no *.mvt glob in the MIME database"

for size in 48 256; do
    file "$share/icons/hicolor/${size}x${size}/apps/mirval.png" | grep -q "PNG image data, $size x $size" ||
        fail "the ${size} px icon is not a ${size}x${size} PNG"
done

# The manual page of mirval-convert names every command, option and exit
# status that the packaged program's --help names.
help="$("$root/usr/bin/mirval-convert" --help)"
page="$(zcat "$share/man/man1/mirval-convert.1.gz" | sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\&//g')"
commands="$(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep -oE '^  [a-z][a-z-]+' | tr -d ' ')"
options="$(grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' <<<"$help" | sed 's/^[ ,]//' | sort -u)"
statuses="$(sed -n '/^Exit status:/,/^$/p' <<<"$help" | grep -oE '(: |, )[0-9]+ ' | grep -oE '[0-9]+')"
[ "$(wc -w <<<"$commands")" -ge 7 ] && [ "$(wc -w <<<"$options")" -ge 20 ] &&
    [ "$(wc -w <<<"$statuses")" -ge 4 ] || fail "could not read --help"
for command in $commands; do
    grep -qE "^$command\$" <<<"$page" || fail "the manual page has no entry for the command $command"
done
for option in $options; do
    grep -qE -- "(^|[ ,])$option( |,|\$)" <<<"$page" || fail "the manual page does not name $option"
done
exit_section="$(sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' <<<"$page")"
for status in $statuses; do
    grep -qx "$status" <<<"$exit_section" || fail "the manual page does not give exit status $status"
done
zcat "$share/man/man1/mirval.1.gz" | grep -q -- 'check-install' || fail "mirval(1) lacks --check-install"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $depends"
