# An examiner's moves on the real program, with xdotool, for the scripted checks of
# the run command and of the installed package (source this file).
#   wait_for_program <launcher pid> <seconds> <pgrep arguments...>
#                               prints the program's pid once it runs; status 1 if
#                               the launcher ended first, 2 after the seconds
#   attach_to_program <pid>     takes DISPLAY and XAUTHORITY from the program and
#                               finds its main window (RUMBOLO_WINDOW); false if none
#   window_size                 the main window's size, as WxH
#   wait_window_size <WxH>      waits up to 10 s for that size
#   click_in_window <x> <y>     a click at a place relative to the main window
#   start_individual_evaluation <name> <last name>
#                               from the menu, at the first level
#   abandon_evaluation          Escape, "abandon", and the closing message answered
#   exit_from_menu              "Salir"
#   stop_process_group <pid>    TERM, then KILL after 2 s, to the group a setsid
#                               launcher leads (xvfb-run's display among it)
# Places are those of the 800 x 580 administration window and of the abort dialog
# centred on the 1366 x 768 screen.

RUMBOLO_PID=
RUMBOLO_WINDOW=

wait_for_program() {
    local launcher="$1" seconds="$2" pid _
    shift 2
    for _ in $(seq 1 $((seconds * 10))); do
        pid="$(pgrep "$@" | head -1)"
        if [ -n "$pid" ]; then
            echo "$pid"
            return 0
        fi
        kill -0 "$launcher" 2>/dev/null || return 1
        sleep 0.1
    done
    return 2
}

attach_to_program() {
    RUMBOLO_PID="$1"
    DISPLAY="$(tr '\0' '\n' <"/proc/$RUMBOLO_PID/environ" | sed -n 's/^DISPLAY=//p')"
    XAUTHORITY="$(tr '\0' '\n' <"/proc/$RUMBOLO_PID/environ" | sed -n 's/^XAUTHORITY=//p')"
    export DISPLAY XAUTHORITY
    RUMBOLO_WINDOW="$(timeout 30 xdotool search --sync --onlyvisible --pid "$RUMBOLO_PID" --name '^Rumbolo$' | head -1)"
    [ -n "$RUMBOLO_WINDOW" ]
}

window_size() {
    xdotool getwindowgeometry "$RUMBOLO_WINDOW" | sed -n 's/^ *Geometry: //p'
}

wait_window_size() {
    local _
    for _ in $(seq 1 100); do
        [ "$(window_size)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

click_in_window() {
    xdotool mousemove --window "$RUMBOLO_WINDOW" "$1" "$2" click 1
    sleep 0.3
}

start_individual_evaluation() {
    click_in_window 706 70
    click_in_window 268 53
    xdotool type --delay 20 "$1"
    click_in_window 268 88
    xdotool type --delay 20 "$2"
    click_in_window 205 122
    click_in_window 281 488
}

# The program's message box (any visible window of it but the main one), answered
# with Return; false when none comes within 5 s.
answer_message() {
    local box= _
    for _ in $(seq 1 50); do
        box="$(xdotool search --onlyvisible --pid "$RUMBOLO_PID" 2>/dev/null | grep -vx "$RUMBOLO_WINDOW" | head -1)"
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || return 1
    xdotool windowfocus --sync "$box" key Return
}

abandon_evaluation() {
    xdotool key Escape
    sleep 0.8
    click_in_window 683 383
    answer_message
}

exit_from_menu() {
    sleep 0.5
    click_in_window 706 211
}

stop_process_group() {
    if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
        kill -TERM -- "-$1" 2>/dev/null
        sleep 2
        kill -KILL -- "-$1" 2>/dev/null
        wait "$1" 2>/dev/null
    fi
    return 0
}
