#!/usr/bin/env bash
# Installs what is needed, builds Rumbolo twice (a plain build and one with
# AddressSanitizer and UndefinedBehaviorSanitizer), starts a virtual display and a
# private audio server, and runs every test through CTest in both builds.
#   scripts/test.sh [ctest options...]     e.g. scripts/test.sh -L unit
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

"$ROOT/scripts/install-deps.sh" || exit 1
"$ROOT/scripts/build.sh" "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
"$ROOT/scripts/build.sh" "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DRUMBOLO_SANITIZE=ON \
    -DRUMBOLO_GENERATE_KIT=OFF -DRUMBOLO_KIT_DIR="$ROOT/build/kit" || exit 1

# shellcheck source=scripts/services.sh
source "$ROOT/scripts/services.sh"
SERVICES_DIR="$(mktemp -d /tmp/rumbolo-services.XXXXXX)"
trap 'stop_services; rm -rf "$SERVICES_DIR"' EXIT
start_display "$SERVICES_DIR/display" || exit 1
start_audio "$SERVICES_DIR/audio" || exit 1
if [ -f "$ROOT/scripts/scoring-service.sh" ]; then
    # shellcheck source=scripts/scoring-service.sh
    source "$ROOT/scripts/scoring-service.sh"
    trap 'stop_scoring_service; stop_services; rm -rf "$SERVICES_DIR"' EXIT
    start_scoring_service "$SERVICES_DIR/scoring" "$ROOT/build" || exit 1
fi

# A test whose environment is missing fails here; it never skips into a green summary.
unset RUMBOLO_TESTS_MAY_SKIP
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
echo "== Tests (plain build)"
ctest --test-dir "$ROOT/build" --output-on-failure "$@" || status=1
echo "== Tests (AddressSanitizer + UndefinedBehaviorSanitizer build)"
# The end-to-end run drives the plain program with real input events; under the
# sanitizers it only repeats the same code paths, slower.
ctest --test-dir "$ROOT/build-asan" --output-on-failure -LE e2e "$@" || status=1
exit $status
