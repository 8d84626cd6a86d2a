#!/usr/bin/env bash
# Retakes the README's pictures in docs/ from the running program under Xvfb, at a screen of
# 1366x768, in the C locale the README's figures are written in.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/tools/deps.sh"
cmake --build "$here/build" -j"$(nproc)" --target vernolat_pictures
cd "$(mktemp -d)"
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" \
    "$here/build/tests/pictures/vernolat_pictures" "$@"
