#!/usr/bin/env bash
# Installs what is missing, builds, and starts the MIRVAL editor on a file (or,
# with none named, on the sample text data/sample.txt: Ctrl+H converts it to a
# visual page, Ctrl+W shows that page in the preview).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIRVAL_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ $# -eq 0 ]; then
    set -- "$root/data/sample.txt"
fi
exec "$build/src/app/mirval" "$@"
