#!/usr/bin/env bash
# Builds everything (as scripts/setup.sh does) and makes the Debian packages
# build/glimmerfall_<version>_<arch>.deb (the game) and
# build/glimmerfall-maptools_<version>_<arch>.deb from the install rules.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
echo "== packaging"
(cd build && cpack -G DEB)
ls build/glimmerfall*.deb
