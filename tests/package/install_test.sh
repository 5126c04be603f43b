#!/usr/bin/env bash
# Installs MIRVAL into a temporary prefix (cmake --install --prefix) and runs
# the installed programs from another folder: mirval-convert must find its
# definition file, and mirval its help page and templates, under
# <prefix>/share/mirval, with the user's template folder first.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$tmp"

# The definition file: "&quot;" becomes a double quote.
printf 'a&quot;b\r\n' >expected.in
printf 'a"b\r\n' >expected.out
"$prefix/bin/mirval-convert" special-chars expected.in -o converted.out ||
    fail "installed mirval-convert special-chars exited with $?"
cmp -s expected.out converted.out || fail "special-chars did not use the installed mirval.def"

export QT_QPA_PLATFORM=offscreen MIRVAL_PROFILE="$tmp/profile.ini" HOME="$tmp/home"
data="$prefix/share/mirval"

# check_install EXPECTED_STATUS EXPECTED_OUTPUT: runs mirval --check-install.
check_install() {
    local status=0
    "$prefix/bin/mirval" --check-install >check.out 2>check.err || status=$?
    if [ "$status" -ne "$1" ]; then
        fail "mirval --check-install exited with $status, not $1"
        cat check.err >&2
    fi
    if ! diff -u <(printf '%s\n' "$2") check.out >&2; then
        fail "mirval --check-install reported other places"
    fi
}

# Installed: the user's templates ($XDG_DATA_HOME) before the supplied ones.
export XDG_DATA_HOME="$tmp/data"
user="$tmp/data/mirval/templates"
check_install 0 "definitions: $data/mirval.def
help page: $data/h_mirval.htm
default template: $data/basic.mvt
templates read from: $user
templates read from: $data
templates saved to: $user"
[ ! -e "$user" ] || fail "looking the templates up made the user's folder"

# A template of the user's wins over a supplied one of the same name.
mkdir -p "$user"
printf '<html>\r\n' >"$user/basic.mvt"
check_install 0 "definitions: $data/mirval.def
help page: $data/h_mirval.htm
default template: $user/basic.mvt
templates read from: $user
templates read from: $data
templates saved to: $user"

# Without XDG_DATA_HOME the user's folder is ~/.local/share/mirval/templates.
unset XDG_DATA_HOME
home="$tmp/home/.local/share/mirval/templates"
check_install 0 "definitions: $data/mirval.def
help page: $data/h_mirval.htm
default template: $data/basic.mvt
templates read from: $home
templates read from: $data
templates saved to: $home"

# A missing help page fails the check.
rm "$data/h_mirval.htm"
check_install 1 "definitions: $data/mirval.def
help page: $prefix/bin/h_mirval.htm (missing)
default template: $data/basic.mvt
templates read from: $home
templates read from: $data
templates saved to: $home"

# The bash completion offers the commands, and the values of --encoding.
completion="$prefix/share/bash-completion/completions/mirval-convert"
# shellcheck disable=SC1090
words="$(
    source "$completion"
    COMP_WORDS=(mirval-convert --width 60 to-)
    COMP_CWORD=3
    _mirval_convert
    echo "${COMPREPLY[*]}"
    COMP_WORDS=(mirval-convert toggle --encoding "")
    COMP_CWORD=3
    _mirval_convert
    echo "${COMPREPLY[*]}"
)"
[ "$words" = $'to-visual to-modern to-logical to-dos\ncp1255 utf-8' ] ||
    fail "bash completion offered: $words"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "installed programs found their data"
