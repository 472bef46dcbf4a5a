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
service_pid=

fail() {
    echo "FAIL: $*" >&2
    echo "--- output of the run command:" >&2
    cat "$LOG" >&2
    exit 1
}
cleanup() {
    # The run command and everything it started (xvfb-run's display among them)
    # form one process group.
    if [ -n "$run_pid" ] && kill -0 "$run_pid" 2>/dev/null; then
        kill -TERM -- "-$run_pid" 2>/dev/null
        sleep 2
        kill -KILL -- "-$run_pid" 2>/dev/null
        wait "$run_pid" 2>/dev/null
    fi
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

# The program's display is the one xvfb-run made for it.
program=
for _ in $(seq 1 1200); do
    program="$(pgrep -f "^$SOURCE/build/app/rumbolo\$" | head -1)"
    [ -n "$program" ] && break
    kill -0 "$run_pid" 2>/dev/null || fail "the run command ended before starting the program"
    sleep 0.1
done
[ -n "$program" ] || fail "the program did not start within 120 s"
DISPLAY="$(tr '\0' '\n' <"/proc/$program/environ" | sed -n 's/^DISPLAY=//p')"
XAUTHORITY="$(tr '\0' '\n' <"/proc/$program/environ" | sed -n 's/^XAUTHORITY=//p')"
export DISPLAY XAUTHORITY

window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Rumbolo$' | head -1)"
[ -n "$window" ] || fail "the administration window did not appear"

size() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p'; }
wait_size() { # <WxH>
    local _
    for _ in $(seq 1 100); do
        [ "$(size)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
click() { # <x> <y> relative to the window
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}

wait_size 800x580 || fail "the administration window is $(size), not 800x580"
import -window root "$ARTEFACTS/welcome.png"

# The individual form: name, last name, the first level, start.
click 706 70
click 268 53
xdotool type --delay 20 'Ana'
click 268 88
xdotool type --delay 20 'Perez'
click 205 122
click 281 488
wait_size 1366x768 || fail "the started evaluation is $(size), not full screen (1366x768)"
sleep 0.5
import -window root "$ARTEFACTS/first-test.png"

# Escape, "abandon the evaluation" (the dialog's middle button), then "Salir".
xdotool key Escape
sleep 0.8
click 683 383
# The message that the evaluation was cancelled, answered with Return.
box=
for _ in $(seq 1 50); do
    box="$(xdotool search --onlyvisible --pid "$program" 2>/dev/null | grep -vx "$window" | head -1)"
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no message after abandoning the evaluation"
xdotool windowfocus --sync "$box" key Return
wait_size 800x580 || fail "the abandoned evaluation did not give back the administration window"
sleep 0.5
click 706 211

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
