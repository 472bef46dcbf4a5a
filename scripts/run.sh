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

# Before the build, so that nobody waits for it only to be told this.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "rumbolo: no display to show the window on; run it under a virtual display: xvfb-run -a -s '-screen 0 1366x768x24' scripts/run.sh" >&2
    exit 1
fi

# Only what running needs: the program, the stimulus kit and the local scoring
# service (scripts/test.sh builds the tests into the same folder).
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(rumbolo rumbolo-scoring-service)
if grep -q '^RUMBOLO_GENERATE_KIT:BOOL=ON' "$BUILD_DIR/CMakeCache.txt"; then
    targets+=(rumbolo-kit)
fi
cmake --build "$BUILD_DIR" --target "${targets[@]}"

mkdir -p "$RUN_DIR"
for tree in images sounds; do
    if [ -d "$BUILD_DIR/kit/$tree" ] && [ ! -e "$RUN_DIR/$tree" ]; then
        ln -s "$BUILD_DIR/kit/$tree" "$RUN_DIR/$tree"
    fi
done

# >>> display and audio of a bare machine >>>
# A display without a window manager (a plain Xvfb) cannot put the tests in full
# screen, and a machine without an audio server can neither play the prompts nor
# record the child: then Rumbolo gets a small window manager and a private audio
# server (silent: its speaker and microphone are pipes) for this session.
# shellcheck source=scripts/services.sh
source "$ROOT/scripts/services.sh"
rumbolo_helpers_dir="$(mktemp -d /tmp/rumbolo-session.XXXXXX)"
trap 'stop_services; rm -rf "$rumbolo_helpers_dir"' EXIT
if ! window_manager_running; then
    echo "No window manager on $DISPLAY: starting evilwm for this session, so that the tests can go full screen"
    start_window_manager "$rumbolo_helpers_dir/wm" || exit 1
fi
if ! pactl info >/dev/null 2>&1; then
    echo "No audio server: starting a private one for this session (prompts play and answers are recorded, but nothing is heard)"
    # A short path: the server's socket lives in it.
    start_audio "$rumbolo_helpers_dir/audio" || echo "rumbolo: the private audio server did not start; prompts and recordings will fail" >&2
fi
# <<< display and audio of a bare machine <<<

# >>> local scoring service >>>
# When the build sends to the local scoring service (the default), start it in the
# background with the demo account (it keeps running after Rumbolo closes and is
# reused by the next run). Its development certificate authority lives where the
# build says (RUMBOLO_SCORING_SERVICE_CA), and only Rumbolo trusts it: nothing
# is added to the system's trusted authorities, and the one that earlier
# versions added there is taken out.
# shellcheck source=scripts/scoring-service.sh
source "$ROOT/scripts/scoring-service.sh"
remove_system_scoring_service_ca \
    || echo "rumbolo: could not remove the development authority from the system's trusted ones" >&2
scoring_url="$(sed -n 's/^RUMBOLO_SCORING_SERVICE_URL:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")"
scoring_ca="$(sed -n 's/^RUMBOLO_SCORING_SERVICE_CA:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")"
case "$scoring_ca" in
    /*) ;;
    *) scoring_ca="$BUILD_DIR/$scoring_ca" ;;
esac
case "$scoring_url" in
    https://localhost:[0-9]*|https://127.0.0.1:[0-9]*)
        start_scoring_service "$RUN_DIR/scoring-service" "$BUILD_DIR" "${scoring_url##*:}" "$(dirname "$scoring_ca")" \
            || echo "rumbolo: the local scoring service did not start; uploads will fail" >&2
        ;;
    *)
        echo "Rumbolo sends evaluations to $scoring_url"
        ;;
esac
# <<< local scoring service <<<

cd "$RUN_DIR"
echo "Starting Rumbolo in $RUN_DIR"
status=0
"$BUILD_DIR/app/rumbolo" || status=$?
exit $status
