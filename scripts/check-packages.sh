#!/usr/bin/env bash
# Builds the Debian packages, installs both on this machine and uses them as a
# school would: the scoring service's unit command runs as its own user (started
# by hand: a disposable root runs no systemd), an account is added with the
# package's command, and an ordinary user starts Rumbolo through the desktop
# entry (under Xvfb, a window manager and an audio server), starts an evaluation,
# skips a test and abandons the rest; the rows are in that user's own "data".
# She sends the evaluation through "Enviar al servidor", and the service stores
# it. A second start is refused while the first runs, removing the rumbolo
# package leaves the user's data, and purging the service's package leaves the
# evaluations it received.
# Meant for a disposable root (CI runs it in the fresh root of the test command):
# it installs and removes packages, adds a user and listens on port 8443.
#   scripts/check-packages.sh
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
USER_NAME=examinadora
ACCOUNT=examinadora@escuela.example
ACCOUNT_PASSWORD="clave de prueba"
SERVICE_UNIT=/lib/systemd/system/rumbolo-scoring-service.service
SERVICE_DATA=/var/lib/rumbolo-scoring-service
ARTEFACTS="$ROOT/build-package/artefacts"
WORK="$(mktemp -d /tmp/rumbolo-package-check.XXXXXX)"
chmod 755 "$WORK"
session_pid=
service_pid=
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
    stop_process_group "$service_pid"
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
service_deb="$(ls "$ROOT"/build-package/rumbolo-scoring-service_*_amd64.deb | head -1)"
[ -f "$deb" ] && [ -f "$service_deb" ] || fail "scripts/package.sh did not make both packages"
mkdir -p "$ARTEFACTS"
dpkg -c "$deb" >"$ARTEFACTS/rumbolo.contents"
dpkg -c "$service_deb" >"$ARTEFACTS/rumbolo-scoring-service.contents"

echo "== Package check: lintian"
export DEBIAN_FRONTEND=noninteractive
dpkg-query -W -f='${Status}' lintian 2>/dev/null | grep -q "install ok installed" \
    || apt-get install -y -qq --no-install-recommends lintian >/dev/null 2>&1 \
    || fail "could not install lintian"
lintian --tag-display-limit 0 "$deb" "$service_deb" >"$ARTEFACTS/lintian.txt" 2>&1
cat "$ARTEFACTS/lintian.txt"
grep -q '^E: ' "$ARTEFACTS/lintian.txt" && fail "lintian reports errors"

echo "== Package check: installing $(basename "$deb") and $(basename "$service_deb")"
apt-get install -y -qq "$deb" "$service_deb" >"$WORK/install.log" 2>&1 || fail "apt-get install of the packages failed"
# The entry's own command (its actions have Exec lines of their own).
exec_line="$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' /usr/share/applications/rumbolo.desktop)"
[ -n "$exec_line" ] || fail "the desktop entry has no Exec line"
# The examiner's manual, and the desktop entry's second action that opens it.
[ -s /usr/share/doc/rumbolo/manual.html ] || fail "the package has no /usr/share/doc/rumbolo/manual.html"
grep -qx 'Exec=xdg-open /usr/share/doc/rumbolo/manual.html' /usr/share/applications/rumbolo.desktop \
    || fail "the desktop entry has no action that opens the manual"

echo "== Package check: the scoring service"
[ -f "$SERVICE_UNIT" ] || fail "$SERVICE_UNIT is missing"
service_user="$(sed -n 's/^User=//p' "$SERVICE_UNIT")"
service_command="$(sed -n 's/^ExecStart=//p' "$SERVICE_UNIT")"
[ -n "$service_user" ] && [ -n "$service_command" ] || fail "the unit names no User or no ExecStart"
for setting in ProtectSystem=strict PrivateTmp=yes NoNewPrivileges=yes "ReadWritePaths=$SERVICE_DATA"; do
    grep -qx "$setting" "$SERVICE_UNIT" || fail "the unit lacks $setting"
done
[ "$(grep -c '^ReadWritePaths=' "$SERVICE_UNIT")" = 1 ] || fail "the unit opens more than its data folder"
getent passwd "$service_user" >/dev/null || fail "the package did not make the user $service_user"
[ "$(stat -c %U "$SERVICE_DATA")" = "$service_user" ] || fail "$SERVICE_DATA does not belong to $service_user"
[ "$(stat -c '%U %a' "$SERVICE_DATA/tls/ca.key")" = "$service_user 600" ] || fail "the authority's key is not the service's only"
if (exec 3<>/dev/tcp/127.0.0.1/8443) 2>/dev/null; then
    fail "port 8443 is taken on this machine (a disposable root shares its network): stop what listens there"
fi
# As the unit runs it, with the unit's own command line.
setsid runuser -u "$service_user" -- sh -c "exec $service_command" >"$WORK/service.out" 2>"$WORK/service.log" </dev/null &
service_pid=$!
for _ in $(seq 1 100); do
    grep -q '^Listening on ' "$WORK/service.out" && break
    kill -0 "$service_pid" 2>/dev/null || fail "the service's command ended: $service_command"
    sleep 0.1
done
grep -q '^Listening on https://localhost:8443$' "$WORK/service.out" || fail "the service does not listen on https://localhost:8443"
printf '%s\n' "$ACCOUNT_PASSWORD" | rumbolo-scoring-service-add-account "$ACCOUNT" >"$WORK/account.log" 2>&1 \
    || fail "rumbolo-scoring-service-add-account $ACCOUNT failed"
[ "$(stat -c %U "$SERVICE_DATA/accounts")" = "$service_user" ] || fail "the accounts file does not belong to $service_user"
curl -fsS --cacert "$SERVICE_DATA/tls/ca.crt" "https://localhost:8443/rumbolo/connection/$ACCOUNT/clave%20de%20prueba" \
    2>"$WORK/curl.log" | grep -q "rumbolo upload available" || fail "the service does not accept the new account"

id "$USER_NAME" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$USER_NAME"
home="$(getent passwd "$USER_NAME" | cut -d: -f6)"
data_dir="$home/.local/share/rumbolo"
runuser -u "$USER_NAME" -- test -r "$SERVICE_DATA/tls/ca.crt" \
    || fail "$USER_NAME cannot read the service's authority $SERVICE_DATA/tls/ca.crt, which Rumbolo trusts"

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
rows="$(sqlite3 "$data_dir/data" "SELECT test || ':' || key FROM log WHERE evaluationId = (SELECT MAX(ROWID) FROM evaluation) ORDER BY ROWID")"
evaluations="$(sqlite3 "$data_dir/data" "SELECT COUNT(*) FROM evaluation")"
[ "$evaluations" = 1 ] || fail "the user's data holds $evaluations evaluations, not 1"
[ "$rows" = "$(printf 'VD1A:ABORT\nFULL:ABORT')" ] || fail "the user's data holds the rows: $rows"

echo "== Package check: the evaluation sent through \"Enviar al servidor\""
click_in_window 706 164 # "Enviar al servidor"
click_in_window 383 53  # e-mail address
xdotool type --delay 20 "$ACCOUNT"
click_in_window 383 84  # password
xdotool type --delay 20 "$ACCOUNT_PASSWORD"
click_in_window 386 488 # "Enviar"
for _ in $(seq 1 300); do
    [ "$(sqlite3 "$data_dir/data" "SELECT COUNT(*) FROM evaluation")" = 0 ] && break
    sleep 0.1
done
sleep 1
import -window root "$ARTEFACTS/sent.png" # the message that closes the sending
answer_message || fail "no message after sending"
archives="$(find "$SERVICE_DATA/uploads" -type f -name '*.zip' 2>/dev/null)"
[ "$(printf '%s' "$archives" | grep -c .)" = 1 ] || fail "the service stored $(printf '%s' "$archives" | grep -c .) archives, not 1: $(cat "$WORK/service.log")"
[ "$(dirname "$archives")" = "$SERVICE_DATA/uploads/$ACCOUNT" ] || fail "the service stored the evaluation as $archives"
[ "$(stat -c %U "$archives")" = "$service_user" ] || fail "the stored evaluation does not belong to $service_user"
export_text="$(unzip -p "$archives" 'evaluation_*.log')" || fail "the stored evaluation holds no export: $(unzip -l "$archives")"
for line in 'GENERAL;name;Ana' 'GENERAL;lastName;Perez' 'VD1A;ABORT;' 'FULL;ABORT;'; do
    printf '%s\n' "$export_text" | grep -q "^$line" || fail "the stored evaluation lacks \"$line\": $export_text"
done
[ "$(sqlite3 "$data_dir/data" "SELECT COUNT(*) FROM evaluation")" = 0 ] || fail "the sent evaluation is still in the user's data"
left="$(find "$data_dir/grabaciones" "$data_dir/envios" -mindepth 1)"
[ -z "$left" ] || fail "the sent evaluation left files: $left"

exit_from_menu
for _ in $(seq 1 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "Rumbolo did not end after \"Salir\""

echo "== Package check: removing the rumbolo package"
data_sum="$(sha256sum <"$data_dir/data")"
apt-get remove -y -qq rumbolo >"$WORK/remove.log" 2>&1 || fail "apt-get remove rumbolo failed"
[ ! -e /usr/lib/rumbolo/rumbolo ] || fail "the program is still installed"
[ -f "$data_dir/data" ] || fail "removing the package took the user's data"
[ "$(sha256sum <"$data_dir/data")" = "$data_sum" ] || fail "the user's data changed on removal"
[ -d "$data_dir/grabaciones" ] && [ -d "$data_dir/envios" ] || fail "removing the package took the user's folders"

echo "== Package check: purging the scoring service's package"
stop_process_group "$service_pid"
service_pid=
apt-get purge -y -qq rumbolo-scoring-service >"$WORK/purge.log" 2>&1 || fail "apt-get purge rumbolo-scoring-service failed"
[ ! -e "$SERVICE_UNIT" ] && [ ! -e "$SERVICE_DATA/accounts" ] && [ ! -e "$SERVICE_DATA/tls" ] \
    || fail "purging left the unit, the accounts or the authority"
[ -f "$archives" ] || fail "purging took the evaluations the service received"
echo "== Package check passed"
