#!/usr/bin/env bash
# The README's run command as a new user types it on a machine without a display:
#   xvfb-run -a -s '-screen 0 1366x768x24' scripts/run.sh
# The administration window comes up (800 x 580), an evaluation started from the
# individual form goes full screen (1366 x 768) under the window manager that the
# command starts itself, and "Salir" ends the command with status 0, leaving none
# of its helpers (window manager, audio server) running.
#   tst_runcommand.sh <source-dir> <artefact-dir>
set -uo pipefail

SOURCE="$1"
ARTEFACTS="$2"
WORK="$(mktemp -d /tmp/rumbolo-runcommand.XXXXXX)"
RUN_DIR="$WORK/run"
LOG="$WORK/run.log"
mkdir -p "$ARTEFACTS"
run_pid=
# shellcheck source=scripts/examiner.sh
source "$SOURCE/scripts/examiner.sh"
service_pid=

fail() {
    echo "FAIL: $*" >&2
    echo "--- output of the run command:" >&2
    cat "$LOG" >&2
    exit 1
}
cleanup() {
    # The run command and everything it started form one process group.
    stop_process_group "$run_pid"
    if [ -f "$RUN_DIR/scoring-service/service.pid" ]; then
        service_pid="$(cat "$RUN_DIR/scoring-service/service.pid")"
        kill "$service_pid" 2>/dev/null
    fi
    cp "$LOG" "$ARTEFACTS/run.log" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

for tool in xvfb-run xauth xdotool xprop import; do
    command -v "$tool" >/dev/null || fail "missing from this machine: $tool"
done

# A user's shell: no display, no audio server of the test command's.
(cd "$WORK" && exec setsid env -u DISPLAY -u PULSE_SERVER -u XDG_RUNTIME_DIR -u XAUTHORITY RUMBOLO_RUN_DIR="$RUN_DIR" \
    xvfb-run -a -s '-screen 0 1366x768x24' "$SOURCE/scripts/run.sh") >"$LOG" 2>&1 &
run_pid=$!

program="$(wait_for_program "$run_pid" 120 -f "^$SOURCE/build/app/rumbolo\$")"
case $? in
    1) fail "the run command ended before starting the program" ;;
    2) fail "the program did not start within 120 s" ;;
esac
# Its display is the one xvfb-run made for it.
attach_to_program "$program" || fail "the administration window did not appear"
wait_window_size 800x580 || fail "the administration window is $(window_size), not 800x580"
import -window root "$ARTEFACTS/welcome.png"

start_individual_evaluation Ana Perez
wait_window_size 1366x768 || fail "the started evaluation is $(window_size), not full screen (1366x768)"
sleep 0.5
import -window root "$ARTEFACTS/first-test.png"

abandon_evaluation || fail "no message after abandoning the evaluation"
wait_window_size 800x580 || fail "the abandoned evaluation did not give back the administration window"
exit_from_menu

status=
for _ in $(seq 1 150); do
    if ! kill -0 "$run_pid" 2>/dev/null; then
        wait "$run_pid"
        status=$?
        break
    fi
    sleep 0.1
done
[ -n "$status" ] || fail "the run command did not end after \"Salir\""
[ "$status" -eq 0 ] || fail "the run command ended with status $status"
grep -q "starting evilwm" "$LOG" || fail "the run command did not start a window manager on the bare display"
leftover="$(pgrep -a -f "pulseaudio .*$WORK|pulseaudio .*/tmp/rumbolo-session")"
[ -z "$leftover" ] || fail "the private audio server was left running: $leftover"
echo "PASS: the run command brought up the administration window, went full screen and ended with status 0"
