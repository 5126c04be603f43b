#!/usr/bin/env bash
# Installs what is missing, builds, and starts MIRVAL. Until the editor window
# exists this runs the converter on the sample page and shows the visual HTML.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIRVAL_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
iconv -f CP1255 -t UTF-8 "$root/data/sample.htm" |
    "$build/src/cli/mirval-convert" to-visual --encoding utf-8 "$@"
