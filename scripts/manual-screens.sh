#!/usr/bin/env bash
# Prints the folder that holds the screens of this checkout's end-to-end run, which
# the examiner's manual shows: build/artefacts/e2e. A build without tests (the
# Debian package's) takes them from there. When they are missing, or older than the
# program, the kit or the end-to-end test of build/, this builds build/ and runs the
# end-to-end test again, under a virtual display and a private audio server, as
# scripts/test.sh does. Its output goes to standard error; only the folder is printed.
#   scripts/manual-screens.sh
# On a shared machine, run it (or scripts/package.sh) under the test lock.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
SCREENS="$BUILD/artefacts/e2e"

fresh() {
    [ -f "$SCREENS/0-welcome.png" ] || return 1
    [ -z "$(find "$BUILD/app/rumbolo" "$BUILD/kit/manifest.txt" "$BUILD/tests/e2e/tst_endtoend" \
        -newer "$SCREENS/0-welcome.png" -print -quit 2>/dev/null)" ]
}

{
    "$ROOT/scripts/install-deps.sh"
    "$ROOT/scripts/build.sh" "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    if ! fresh; then
        echo "== The manual's screens: running the end-to-end test"
        # shellcheck source=scripts/services.sh
        source "$ROOT/scripts/services.sh"
        services="$(mktemp -d /tmp/rumbolo-screens.XXXXXX)"
        trap 'stop_services; rm -rf "$services"' EXIT
        start_display "$services/display"
        start_audio "$services/audio"
        unset RUMBOLO_TESTS_MAY_SKIP
        ctest --test-dir "$BUILD" --output-on-failure -R '^tst_endtoend$'
    fi
} >&2
echo "$SCREENS"
