#!/usr/bin/env bash
# Installs what is missing, builds, and starts the MIRVAL editor (arguments
# are passed on: a file to open).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIRVAL_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "$build/src/app/mirval" "$@"
