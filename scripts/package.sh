#!/usr/bin/env bash
# Builds everything (as scripts/setup.sh does) and makes the Debian package
# build/glimmerfall_<version>_<arch>.deb from the install rules.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
echo "== packaging"
(cd build && cpack -G DEB)
ls build/glimmerfall_*.deb
