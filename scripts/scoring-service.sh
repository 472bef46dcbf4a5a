# The local scoring service (tools/scoring-service) for scripts/run.sh and
# scripts/test.sh (source this file).
#   start_scoring_service <data-dir> <build-dir> [port] [tls-dir]
#       Starts the service in the background on loopback (port 0 or none: a free
#       port) with the demo account and its certificate authority in tls-dir
#       (default <data-dir>/tls), unless an instance with that authority already
#       serves that data directory, and waits until it answers the demo account's
#       credential check. Exports RUMBOLO_SCORING_URL and RUMBOLO_SCORING_CA.
#   stop_scoring_service
#       Stops the instance this shell started (one it merely found is left alone).
#   remove_system_scoring_service_ca
#       Takes the development certificate authority that earlier versions of
#       scripts/run.sh added to the system's trusted authorities out again, when
#       it is there (needs root or sudo).

RUMBOLO_SCORING_DEMO_USER="demo@example.com"
RUMBOLO_SCORING_DEMO_PASSWORD="rumbolo-demo"
RUMBOLO_SCORING_STARTED_PID=

# True when pid is a running scoring service.
_scoring_service_running() {
    local pid="$1"
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null \
        && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "rumbolo-scoring-service serve"
}

_scoring_service_answers() {
    local url="$1" ca="$2"
    curl -fsS --max-time 5 --cacert "$ca" \
        "$url/rumbolo/connection/$RUMBOLO_SCORING_DEMO_USER/$RUMBOLO_SCORING_DEMO_PASSWORD" 2>/dev/null \
        | grep -q "rumbolo upload available"
}

start_scoring_service() {
    local dir="$1" build="$2" port="${3:-0}" tls="${4:-}"
    local exe="$build/tools/scoring-service/rumbolo-scoring-service"
    if [ ! -x "$exe" ]; then
        echo "the scoring service is not built: $exe" >&2
        return 1
    fi
    mkdir -p "$dir" || return 1
    dir="$(cd "$dir" && pwd)"
    if [ -z "$tls" ]; then
        tls="$dir/tls"
    fi
    mkdir -p "$(dirname "$tls")" || return 1
    tls="$(cd "$(dirname "$tls")" && pwd)/$(basename "$tls")"

    if [ -f "$dir/service.pid" ] && _scoring_service_running "$(cat "$dir/service.pid")"; then
        if [ -f "$dir/service.url" ] && _scoring_service_answers "$(cat "$dir/service.url")" "$tls/ca.crt"; then
            RUMBOLO_SCORING_URL="$(cat "$dir/service.url")"
            RUMBOLO_SCORING_CA="$tls/ca.crt"
            export RUMBOLO_SCORING_URL RUMBOLO_SCORING_CA
            echo "Scoring service already running at $RUMBOLO_SCORING_URL (pid $(cat "$dir/service.pid"))"
            return 0
        fi
        # An instance of an earlier run with another authority (or none that
        # answers): it gives way to one that the build trusts.
        local old
        old="$(cat "$dir/service.pid")"
        echo "Stopping the scoring service of an earlier run (pid $old): it does not serve with $tls/ca.crt"
        kill "$old" 2>/dev/null
        for _ in $(seq 1 100); do
            kill -0 "$old" 2>/dev/null || break
            sleep 0.05
        done
    fi

    "$exe" add-account --data-dir "$dir" "$RUMBOLO_SCORING_DEMO_USER" \
        --password "$RUMBOLO_SCORING_DEMO_PASSWORD" >/dev/null || return 1
    rm -f "$dir/service.out" "$dir/service.url"
    "$exe" serve --data-dir "$dir" --tls-dir "$tls" --port "$port" >"$dir/service.out" 2>>"$dir/service.log" </dev/null &
    local pid=$!
    echo "$pid" >"$dir/service.pid"

    local url="" i
    for i in $(seq 1 200); do
        url="$(sed -n 's/^Listening on //p' "$dir/service.out" 2>/dev/null)"
        [ -n "$url" ] && break
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "the scoring service did not start (see $dir/service.log):" >&2
            tail -n 5 "$dir/service.log" >&2
            return 1
        fi
        sleep 0.05
    done
    if [ -z "$url" ] || ! _scoring_service_answers "$url" "$tls/ca.crt"; then
        echo "the scoring service does not answer (see $dir/service.log)" >&2
        kill "$pid" 2>/dev/null
        return 1
    fi
    echo "$url" >"$dir/service.url"
    RUMBOLO_SCORING_STARTED_PID="$pid"
    RUMBOLO_SCORING_URL="$url"
    RUMBOLO_SCORING_CA="$tls/ca.crt"
    export RUMBOLO_SCORING_URL RUMBOLO_SCORING_CA
    echo "Scoring service at $url (pid $pid), demo account $RUMBOLO_SCORING_DEMO_USER / $RUMBOLO_SCORING_DEMO_PASSWORD"
    echo "  CA certificate: $RUMBOLO_SCORING_CA   log: $dir/service.log   archives: $dir/uploads/"
}

stop_scoring_service() {
    if [ -n "$RUMBOLO_SCORING_STARTED_PID" ]; then
        kill "$RUMBOLO_SCORING_STARTED_PID" 2>/dev/null
        wait "$RUMBOLO_SCORING_STARTED_PID" 2>/dev/null
        RUMBOLO_SCORING_STARTED_PID=
    fi
    return 0
}

remove_system_scoring_service_ca() {
    local target="/usr/local/share/ca-certificates/rumbolo-scoring-service-dev-ca.crt" sudo=
    if [ ! -e "$target" ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        sudo=sudo
    fi
    echo "Removing the scoring service's development certificate authority that an earlier version added to the system's trusted ones ($target); Rumbolo trusts it by itself now"
    $sudo rm -f "$target" && $sudo update-ca-certificates --fresh >/dev/null
}
