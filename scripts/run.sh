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

# >>> local scoring service >>>
# When the build sends to the local scoring service (the default), start it in the
# background with the demo account (it keeps running after Rumbolo closes and is
# reused by the next run), and make the system trust its development certificate
# authority, so that "Enviar al servidor" works on this machine.
# shellcheck source=scripts/scoring-service.sh
source "$ROOT/scripts/scoring-service.sh"
scoring_url="$(sed -n 's/^RUMBOLO_SCORING_SERVICE_URL:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")"
case "$scoring_url" in
    https://localhost:[0-9]*|https://127.0.0.1:[0-9]*)
        if start_scoring_service "$RUN_DIR/scoring-service" "$BUILD_DIR" "${scoring_url##*:}"; then
            trust_scoring_service_ca "$RUMBOLO_SCORING_CA" \
                || echo "rumbolo: could not make the system trust $RUMBOLO_SCORING_CA; uploads will fail" >&2
        else
            echo "rumbolo: the local scoring service did not start; uploads will fail" >&2
        fi
        ;;
    *)
        echo "Rumbolo sends evaluations to $scoring_url"
        ;;
esac
# <<< local scoring service <<<

cd "$RUN_DIR"
echo "Starting Rumbolo in $RUN_DIR"
exec "$BUILD_DIR/app/rumbolo"
