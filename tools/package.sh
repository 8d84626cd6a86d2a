#!/usr/bin/env bash
# Builds the Release build and makes the Debian package from it: build/vernolat_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
# One package in build/: an older version's file would be mistaken for this one.
rm -f build/vernolat_*.deb
(cd build && cpack -G DEB)
ls build/vernolat_*.deb
