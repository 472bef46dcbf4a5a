#!/usr/bin/env bash
# Installs what is needed, builds Rumbolo and starts it in its run directory.
#   scripts/run.sh
# The run directory (default: run/ in the project, or $RUMBOLO_RUN_DIR) holds the
# database "data", the recordings "grabaciones", the packages "envios" and the
# pictures and prompts (images/, sounds/).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUN_DIR="${RUMBOLO_RUN_DIR:-$ROOT/run}"
BUILD_DIR="$ROOT/build"

"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh" "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo

mkdir -p "$RUN_DIR"
for tree in images sounds; do
    if [ -d "$BUILD_DIR/kit/$tree" ] && [ ! -e "$RUN_DIR/$tree" ]; then
        ln -s "$BUILD_DIR/kit/$tree" "$RUN_DIR/$tree"
    fi
done

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "rumbolo: no display to show the window on; run it under a virtual display: xvfb-run -a -s '-screen 0 1366x768x24' scripts/run.sh" >&2
    exit 1
fi

cd "$RUN_DIR"
echo "Starting Rumbolo in $RUN_DIR"
exec "$BUILD_DIR/app/rumbolo"
