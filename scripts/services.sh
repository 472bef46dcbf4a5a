# Services the tests need, started and stopped by scripts/test.sh (source this file).
#   start_display <dir>   Xvfb on a free display number; exports DISPLAY
#   start_audio <dir>     a private PulseAudio server whose speaker and microphone are
#                         pipes paced in real time; exports XDG_RUNTIME_DIR, PULSE_SERVER
#   start_window_manager <dir>
#                         evilwm on $DISPLAY, checked to be managing windows
#   window_manager_running
#                         whether a window manager manages $DISPLAY now
#   stop_services         stops whatever was started

RUMBOLO_XVFB_PID=
RUMBOLO_PULSE_STARTED=
RUMBOLO_WM_PID=

start_display() {
    local dir="$1" n
    mkdir -p "$dir"
    for n in $(seq 90 130); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            # -r: no key auto-repeat, so a key left down by a failed xdotool call
            # cannot flood the program with repeats.
            Xvfb ":$n" -screen 0 1366x768x24 -nolisten tcp -r >"$dir/xvfb.log" 2>&1 &
            RUMBOLO_XVFB_PID=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 100); do
                if xdpyinfo >/dev/null 2>&1; then
                    return 0
                fi
                sleep 0.05
            done
            echo "Xvfb did not start on :$n (see $dir/xvfb.log)" >&2
            return 1
        fi
    done
    echo "no free X display number" >&2
    return 1
}

start_audio() {
    local dir="$1"
    mkdir -p "$dir"
    export XDG_RUNTIME_DIR="$dir/xdg"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    cat >"$dir/pulse.pa" <<PA
load-module module-native-protocol-unix
load-module module-pipe-sink sink_name=speaker file=$dir/speaker.fifo use_system_clock_for_timing=yes
load-module module-pipe-sink sink_name=micfeed file=$dir/micfeed.fifo use_system_clock_for_timing=yes
set-default-sink speaker
set-default-source micfeed.monitor
PA
    if ! pulseaudio --check >/dev/null 2>&1; then
        pulseaudio -D -n -F "$dir/pulse.pa" --exit-idle-time=-1 --log-target="file:$dir/pulse.log" || true
    fi
    local i
    for i in $(seq 1 100); do
        if pactl info >/dev/null 2>&1; then
            RUMBOLO_PULSE_STARTED=1
            return 0
        fi
        sleep 0.05
    done
    echo "PulseAudio did not start (see $dir/pulse.log)" >&2
    return 1
}

# A window manager that runs sets _NET_SUPPORTING_WM_CHECK on the root window to a
# window of its own, which carries the same property; one that has died leaves the
# root's property behind, pointing at a window that no longer exists.
window_manager_running() {
    local id
    id="$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')"
    [ -n "$id" ] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id # $id"
}

start_window_manager() {
    local dir="$1" i
    mkdir -p "$dir"
    evilwm --bw 0 >"$dir/evilwm.log" 2>&1 &
    RUMBOLO_WM_PID=$!
    for i in $(seq 1 100); do
        if window_manager_running; then
            return 0
        fi
        if ! kill -0 "$RUMBOLO_WM_PID" 2>/dev/null; then
            break
        fi
        sleep 0.05
    done
    echo "The window manager (evilwm) is not managing the windows of display $DISPLAY, so Rumbolo cannot put the tests in full screen." >&2
    if kill -0 "$RUMBOLO_WM_PID" 2>/dev/null; then
        echo "It is still running, but has not taken the display within 5 s. Its output:" >&2
        kill "$RUMBOLO_WM_PID" 2>/dev/null || true
        wait "$RUMBOLO_WM_PID" 2>/dev/null || true
    else
        # Under set -e a bare wait for a failed program would end the caller
        # here, before the reason is shown.
        local status=0
        wait "$RUMBOLO_WM_PID" 2>/dev/null || status=$?
        echo "It exited with status $status. Its output:" >&2
    fi
    sed 's/^/    /' "$dir/evilwm.log" >&2
    RUMBOLO_WM_PID=
    return 1
}

stop_services() {
    if [ -n "$RUMBOLO_WM_PID" ]; then
        kill "$RUMBOLO_WM_PID" 2>/dev/null || true
        wait "$RUMBOLO_WM_PID" 2>/dev/null || true
        RUMBOLO_WM_PID=
    fi
    if [ -n "$RUMBOLO_PULSE_STARTED" ] && [ -f "$XDG_RUNTIME_DIR/pulse/pid" ]; then
        local pid
        pid="$(cat "$XDG_RUNTIME_DIR/pulse/pid")"
        kill "$pid" 2>/dev/null || true
        while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
        RUMBOLO_PULSE_STARTED=
    fi
    if [ -n "$RUMBOLO_XVFB_PID" ]; then
        command -v xdotool >/dev/null 2>&1 && xdotool keyup Return Escape space >/dev/null 2>&1 || true
        kill "$RUMBOLO_XVFB_PID" 2>/dev/null || true
        wait "$RUMBOLO_XVFB_PID" 2>/dev/null || true
        RUMBOLO_XVFB_PID=
    fi
}
