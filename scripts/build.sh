#!/usr/bin/env bash
# Configures and builds MIRVAL in build/ (one build tree for everything).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIRVAL_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
