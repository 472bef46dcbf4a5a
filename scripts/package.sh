#!/usr/bin/env bash
# Builds the Debian package rumbolo_<version>_amd64.deb into build-package/ from a
# RelWithDebInfo build without the tests (stripped; dependencies computed by
# dpkg-shlibdeps, plus the plug-ins and the font the program loads at run time).
#   scripts/package.sh [extra cmake options...]
# e.g. scripts/package.sh -DRUMBOLO_SCORING_SERVICE_URL=https://scoring.example.org
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build-package"

"$ROOT/scripts/install-deps.sh"
# The examiner's manual (/usr/share/doc/rumbolo/manual.html) shows the screens of
# this checkout's end-to-end run, which needs the build with tests.
SCREENS="$("$ROOT/scripts/manual-screens.sh")"
"$ROOT/scripts/build.sh" "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DRUMBOLO_MANUAL=ON -DRUMBOLO_MANUAL_SCREENSHOTS="$SCREENS" "$@"
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
ls "$BUILD_DIR"/*.deb
