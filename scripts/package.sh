#!/usr/bin/env bash
# Builds the Debian package of MIRVAL with CPack: mirval_<version>_<arch>.deb,
# written into the folder given as the first argument (default build/package).
# It builds only what the package holds (the two programs, the icons and the
# manual pages) in build/, configuring it first when needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIRVAL_BUILD_DIR:-$root/build}"
out="${1:-$build/package}"

if [ ! -f "$build/CPackConfig.cmake" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target mirval mirval-convert mirval_desktop_files
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >&2
rm -rf "$out/_CPack_Packages"
ls "$out"/mirval_*.deb
