#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine and uses it as an examiner
# would: an ordinary user starts Rumbolo through the desktop entry (under Xvfb, a
# window manager and an audio server), starts an evaluation, skips a test and
# abandons the rest; the rows are in that user's own "data". A second start is
# refused while the first runs, and removing the package leaves the user's data.
# Meant for a disposable root (CI runs it in the fresh root of the test command):
# it installs and removes packages and adds a user.
#   scripts/check-packages.sh
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
USER_NAME=examinadora
ARTEFACTS="$ROOT/build-package/artefacts"
WORK="$(mktemp -d /tmp/rumbolo-package-check.XXXXXX)"
chmod 755 "$WORK"
session_pid=
# shellcheck source=scripts/examiner.sh
source "$ROOT/scripts/examiner.sh"

fail() {
    echo "FAIL: $*" >&2
    for log in "$WORK"/*.log; do
        [ -f "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    exit 1
}
cleanup() {
    stop_process_group "$session_pid"
    pkill -KILL -u "$USER_NAME" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

if [ "$(id -u)" -ne 0 ]; then
    echo "check-packages: needs root (it installs packages and adds a user); run it on a disposable root" >&2
    exit 1
fi

echo "== Package check: building"
"$ROOT/scripts/package.sh" >"$WORK/package.log" 2>&1 || fail "scripts/package.sh failed"
deb="$(ls "$ROOT"/build-package/rumbolo_*_amd64.deb | head -1)"
mkdir -p "$ARTEFACTS"
dpkg -c "$deb" >"$ARTEFACTS/rumbolo.contents"

echo "== Package check: lintian"
export DEBIAN_FRONTEND=noninteractive
dpkg-query -W -f='${Status}' lintian 2>/dev/null | grep -q "install ok installed" \
    || apt-get install -y -qq --no-install-recommends lintian >/dev/null 2>&1 \
    || fail "could not install lintian"
lintian --tag-display-limit 0 "$deb" >"$ARTEFACTS/lintian.txt" 2>&1
cat "$ARTEFACTS/lintian.txt"
grep -q '^E: ' "$ARTEFACTS/lintian.txt" && fail "lintian reports errors"

echo "== Package check: installing $(basename "$deb")"
apt-get install -y -qq "$deb" >"$WORK/install.log" 2>&1 || fail "apt-get install $deb failed"
exec_line="$(sed -n 's/^Exec=//p' /usr/share/applications/rumbolo.desktop)"
[ -n "$exec_line" ] || fail "the desktop entry has no Exec line"
# The examiner's manual, and the desktop entry's second action that opens it.
[ -s /usr/share/doc/rumbolo/manual.html ] || fail "the package has no /usr/share/doc/rumbolo/manual.html"
grep -qx 'Exec=xdg-open /usr/share/doc/rumbolo/manual.html' /usr/share/applications/rumbolo.desktop \
    || fail "the desktop entry has no action that opens the manual"

id "$USER_NAME" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$USER_NAME"
home="$(getent passwd "$USER_NAME" | cut -d: -f6)"
data_dir="$home/.local/share/rumbolo"

# The user's desktop session: a display, a window manager, an audio server, and
# Rumbolo started as the menu starts it. One process group, stopped at the end.
cat >"$WORK/session.sh" <<EOF
source "$ROOT/scripts/services.sh"
dir="\$(mktemp -d /tmp/session.XXXXXX)"
start_window_manager "\$dir/wm" || exit 1
start_audio "\$dir/audio" || exit 1
sh -c '$exec_line'
status=\$?
stop_services
exit \$status
EOF
chmod 644 "$WORK/session.sh"
setsid runuser -u "$USER_NAME" -- env -i HOME="$home" USER="$USER_NAME" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    xvfb-run -a -s '-screen 0 1366x768x24' bash "$WORK/session.sh" >"$WORK/session.log" 2>&1 &
session_pid=$!

program="$(wait_for_program "$session_pid" 30 -u "$USER_NAME" -f '^/usr/lib/rumbolo/rumbolo$')"
case $? in
    1) fail "the session ended before Rumbolo started" ;;
    2) fail "Rumbolo did not start within 30 s" ;;
esac
attach_to_program "$program" || fail "the administration window did not appear"
wait_window_size 800x580 || fail "the administration window is $(window_size), not 800x580"
[ "$(readlink "/proc/$program/cwd")" = "$data_dir" ] || fail "Rumbolo does not run in $data_dir"
for entry in data grabaciones envios; do
    [ -e "$data_dir/$entry" ] || fail "$data_dir/$entry is missing"
done
for tree in images sounds; do
    [ "$(readlink "$data_dir/$tree")" = "/usr/share/rumbolo/$tree" ] || fail "$data_dir/$tree is not linked to the kit"
done
[ "$(stat -c %a "$data_dir")" = 700 ] || fail "$data_dir is readable by others ($(stat -c %a "$data_dir"))"
[ "$(stat -c %U "$data_dir/data")" = "$USER_NAME" ] || fail "the database does not belong to the user"
import -window root "$ARTEFACTS/installed.png"

# A second start while the first runs is refused.
second_log="$WORK/second.log"
runuser -u "$USER_NAME" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
    XAUTHORITY="$XAUTHORITY" sh -c "$exec_line" >"$second_log" 2>&1 &
second=$!
for _ in $(seq 1 100); do
    grep -q '^\[message\] ' "$second_log" && break
    sleep 0.1
done
grep -q '^\[message\] Rumbolo ya está abierto\.$' "$second_log" || fail "a second start showed no \"Rumbolo ya está abierto.\""
second_program="$(pgrep -u "$USER_NAME" -f '^/usr/lib/rumbolo/rumbolo$' | grep -vx "$program" | head -1)"
box="$(xdotool search --onlyvisible --pid "$second_program" 2>/dev/null | head -1)"
[ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
wait "$second"
second_status=$?
[ "$second_status" -eq 1 ] || fail "a second start ended with status $second_status, not 1"

echo "== Package check: an evaluation, one test skipped, the rest abandoned"
start_individual_evaluation Ana Perez
wait_window_size 1366x768 || fail "the started evaluation is $(window_size), not full screen"
xdotool key Escape
sleep 0.8
click_in_window 683 339 # "skip this test"
sleep 1
abandon_evaluation || fail "no message after abandoning the evaluation"
wait_window_size 800x580 || fail "the abandoned evaluation did not give back the administration window"
exit_from_menu
for _ in $(seq 1 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "Rumbolo did not end after \"Salir\""

rows="$(sqlite3 "$data_dir/data" "SELECT test || ':' || key FROM log WHERE evaluationId = (SELECT MAX(ROWID) FROM evaluation) ORDER BY ROWID")"
evaluations="$(sqlite3 "$data_dir/data" "SELECT COUNT(*) FROM evaluation")"
[ "$evaluations" = 1 ] || fail "the user's data holds $evaluations evaluations, not 1"
[ "$rows" = "$(printf 'VD1A:ABORT\nFULL:ABORT')" ] || fail "the user's data holds the rows: $rows"

echo "== Package check: removing the package"
apt-get remove -y -qq rumbolo >"$WORK/remove.log" 2>&1 || fail "apt-get remove rumbolo failed"
[ ! -e /usr/lib/rumbolo/rumbolo ] || fail "the program is still installed"
[ -f "$data_dir/data" ] || fail "removing the package took the user's data"
[ "$(sqlite3 "$data_dir/data" "SELECT COUNT(*) FROM evaluation")" = 1 ] || fail "the user's data changed on removal"
echo "== Package check passed"
