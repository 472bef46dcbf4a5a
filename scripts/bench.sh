#!/usr/bin/env bash
# Measures Rumbolo on this machine against simple yardsticks run in the same
# invocation, and prints every figure with its ratio and target.
#
#   scripts/bench.sh [build-dir]        (default: build/, built RelWithDebInfo)
#
# What is measured (docs/benchmarks.md explains each choice):
#   1. start-up: launch of the real `rumbolo` in a fresh run directory until its
#      window "Rumbolo" is mapped, and first drawn, on a virtual display, against
#      the smallest Qt widgets program that shows one window, both without Qt's
#      GLX integration; also the resident memory of `rumbolo` on its
#      administration window;
#   2. one stored answer: MainWindow::logValueForKey (SQLite rollback journal,
#      synchronous FULL) against the same INSERTs through the sqlite3 shell,
#      each in its own transaction;
#   3. sending: the upload page packing and uploading evaluations with their
#      recordings to the local scoring service, against `zip -6` of the same
#      files plus `curl` uploads of them; and the peak memory of the sending;
#   4. resident memory on the administration window and after each of several
#      full evaluations driven through their screens in one process;
#   5. from a prompt's request to its first sound at the private audio server's
#      speaker pipe, against `paplay` of the same file; from a recording's start
#      to its first captured samples of a tone, against `parec`; and the
#      underruns of every prompt played in section 4's evaluations;
#   6. packing and uploading 50, 200 and 500 stored evaluations: the cost per
#      evaluation at each size, the store's share of it, and the peak memory;
#   7. the individual form's first frame with its sound devices' line, against
#      the same form without it, in one process (BENCH_FORM_RUNS, 15);
#   8. from a click to the frame that shows its result, over full evaluations
#      on the virtual display.
#
# Settings (environment): BENCH_STARTUP_RUNS (9), BENCH_STORE_ROWS (300),
# BENCH_STORE_RUNS (3), BENCH_EVALUATIONS (50), BENCH_RECORDINGS (5),
# BENCH_SECONDS (60), BENCH_SYNC_RUNS (3), BENCH_BATTERIES (3), BENCH_TOUCH_EVALUATIONS (2),
# BENCH_WORK (scratch directory, default <build-dir>/bench-work; on the same
# disk as the build, emptied at the start and deleted at the end unless
# BENCH_KEEP=1).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(mkdir -p "${1:-$ROOT/build}" && cd "${1:-$ROOT/build}" && pwd)"
STARTUP_RUNS="${BENCH_STARTUP_RUNS:-9}"
STORE_ROWS="${BENCH_STORE_ROWS:-300}"
STORE_RUNS="${BENCH_STORE_RUNS:-3}"
EVALUATIONS="${BENCH_EVALUATIONS:-50}"
RECORDINGS="${BENCH_RECORDINGS:-5}"
SECONDS_PER_RECORDING="${BENCH_SECONDS:-60}"
SYNC_RUNS="${BENCH_SYNC_RUNS:-3}"
BATTERIES="${BENCH_BATTERIES:-3}"
TOUCH_EVALUATIONS="${BENCH_TOUCH_EVALUATIONS:-2}"
WORK="${BENCH_WORK:-$BUILD/bench-work}"
# Sections 5 and 6: BENCH_AUDIO_RUNS (15), BENCH_SCALE_SIZES ("50 200 500").
AUDIO_RUNS="${BENCH_AUDIO_RUNS:-15}"
SCALE_SIZES="${BENCH_SCALE_SIZES:-50 200 500}"

# ---------------------------------------------------------------- build
"$ROOT/scripts/install-deps.sh"
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target rumbolo rumbolo-kit rumbolo-scoring-service \
    rumbolo-bench rumbolo-bench-window rumbolo-bench-mapwatch
KIT="$(sed -n 's/^RUMBOLO_KIT_DIR:[A-Z]*=//p' "$BUILD/CMakeCache.txt")"
BENCH="$BUILD/bench/rumbolo-bench"
MAPWATCH="$BUILD/bench/rumbolo-bench-mapwatch"
WINDOW="$BUILD/bench/rumbolo-bench-window"
APP="$BUILD/app/rumbolo"

rm -rf "$WORK"
mkdir -p "$WORK"

# shellcheck source=scripts/services.sh
source "$ROOT/scripts/services.sh"
# shellcheck source=scripts/scoring-service.sh
source "$ROOT/scripts/scoring-service.sh"
cleanup() {
    stop_scoring_service || true
    stop_services || true
    if [ "${BENCH_KEEP:-0}" != 1 ]; then
        rm -rf "$WORK"
    fi
}
trap cleanup EXIT
start_display "$WORK/services"
start_audio "$WORK/services"

# ---------------------------------------------------------------- helpers
median() { sort -g | awk '{v[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a/b; else print "nan"}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k/1024}'; }
field() { sed -n "s/^$1 //p" "$2" | head -n1; }
now_ns() { date +%s%N; }
ms_since() { awk -v a="$1" -v b="$(now_ns)" 'BEGIN {printf "%.1f", (b-a)/1e6}'; }
# verdict VALUE LIMIT: "met" when VALUE <= LIMIT
verdict() { awk -v v="$1" -v l="$2" 'BEGIN {print (v <= l) ? "met" : "MISSED"}'; }
# run_dir DIR: a fresh run directory with the kit linked in.
run_dir() {
    mkdir -p "$1"
    ln -s "$KIT/images" "$1/images"
    ln -s "$KIT/sounds" "$1/sounds"
}

SUMMARY="$WORK/summary.txt"
: >"$SUMMARY"
summary() { printf '%-58s %12s %12s %8s  %s\n' "$@" >>"$SUMMARY"; }

echo
echo "== Rumbolo benchmarks, $(date '+%Y-%m-%d %H:%M') on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "   build $BUILD (RelWithDebInfo), scratch $WORK"

# ---------------------------------------------------------------- 1. start-up
# The clock runs from the fork of the program to the MapNotify of its window and
# to the first drawing into it, its first frame (rumbolo-bench-mapwatch listens
# to the root window and to the window's damage, nothing is polled). Every run
# starts in a fresh directory (with the database of an earlier start when
# STARTUP_DATA is set); run 0 of each warms the caches and is not counted; the
# two programs take turns starting first. APP_ENV (VAR=value) applies to the
# application only.
startup_series() {
    local tag="$1" out="$WORK/startup-$1.txt" i order kind dir
    : >"$out"
    for i in $(seq 0 "$STARTUP_RUNS"); do
        if [ $((i % 2)) -eq 0 ]; then order="base app"; else order="app base"; fi
        for kind in $order; do
            dir="$WORK/startup/$tag-$kind-$i"
            run_dir "$dir"
            if [ "$kind" = base ]; then
                line="$(cd "$dir" && "$MAPWATCH" --title "Rumbolo baseline" -- "$WINDOW" "Rumbolo baseline" ${BASE_ARGS:-})"
            else
                [ -z "${STARTUP_DATA:-}" ] || cp "$STARTUP_DATA" "$dir/data"
                line="$(cd "$dir" && "$MAPWATCH" --title "Rumbolo" -- env ${APP_ENV:-} "$APP" 2>"$dir/stderr.txt")"
            fi
            [ "$i" -eq 0 ] || echo "$kind $line" >>"$out"
            rm -rf "$dir"
        done
    done
}
startup_figures() {
    local out="$WORK/startup-$1.txt"
    APP_MS="$(grep '^app' "$out" | sed 's/.*map_ms=\([0-9.]*\).*/\1/' | median)"
    BASE_MS="$(grep '^base' "$out" | sed 's/.*map_ms=\([0-9.]*\).*/\1/' | median)"
    APP_FRAME="$(grep '^app' "$out" | sed 's/.*frame_ms=\([-0-9.]*\).*/\1/' | median)"
    BASE_FRAME="$(grep '^base' "$out" | sed 's/.*frame_ms=\([-0-9.]*\).*/\1/' | median)"
    APP_RSS="$(grep '^app' "$out" | sed 's/.*rss_kib=\([0-9]*\).*/\1/' | median)"
    BASE_RSS="$(grep '^base' "$out" | sed 's/.*rss_kib=\([0-9]*\).*/\1/' | median)"
    APP_ANON="$(grep '^app' "$out" | sed 's/.*anon_kib=\([0-9]*\).*/\1/' | median)"
    APP_FILE="$(grep '^app' "$out" | sed 's/.*file_kib=\([0-9]*\).*/\1/' | median)"
    APP_ALL="$(grep '^app' "$out" | sed 's/.*map_ms=\([0-9.]*\).*/\1/' | sort -g | tr '\n' ' ')"
    BASE_ALL="$(grep '^base' "$out" | sed 's/.*map_ms=\([0-9.]*\).*/\1/' | sort -g | tr '\n' ' ')"
}

echo
echo "-- 1. start-up to the window shown ($STARTUP_RUNS runs each after a warm-up, median)"
# Like for like: both programs without Qt's OpenGL (GLX) integration, which
# Rumbolo turns off in its main() (it draws only widgets).
QT_XCB_GL_INTEGRATION=none startup_series nogl
startup_figures nogl
STARTUP_RATIO="$(ratio "$APP_MS" "$BASE_MS")"
FRAME_RATIO="$(ratio "$APP_FRAME" "$BASE_FRAME")"
ADMIN_RSS_BINARY="$APP_RSS"
echo "   both without Qt's GLX integration (QT_XCB_GL_INTEGRATION=none), fresh folder:"
echo "   rumbolo:            window mapped $APP_MS ms, first frame $APP_FRAME ms   (mapped, runs: $APP_ALL)"
echo "   minimal Qt window:  window mapped $BASE_MS ms, first frame $BASE_FRAME ms   (mapped, runs: $BASE_ALL)"
echo "   ratio $STARTUP_RATIO to the window mapped, $FRAME_RATIO to the first frame (target 1.5)"
echo "   resident memory 1 s after the window is shown: rumbolo $(mib "$APP_RSS") MiB" \
    "($(mib "$APP_ANON") MiB its own, $(mib "$APP_FILE") MiB mapped from files), minimal window $(mib "$BASE_RSS") MiB"
summary "start-up to window mapped, like for like, median ms" "$APP_MS" "$BASE_MS" "$STARTUP_RATIO" "$(verdict "$STARTUP_RATIO" 1.5) (target <= 1.5x)"
summary "  same, to the first frame" "$APP_FRAME" "$BASE_FRAME" "$FRAME_RATIO" "$(verdict "$FRAME_RATIO" 1.5) (target <= 1.5x)"

# Every start but a folder's first finds its database there: the same, with the
# database an earlier start made.
run_dir "$WORK/startup/template"
(cd "$WORK/startup/template" && "$BENCH" startup-parts --whole --dir . >/dev/null 2>&1)
cp "$WORK/startup/template/data" "$WORK/startup-data"
rm -rf "$WORK/startup/template"
STARTUP_DATA="$WORK/startup-data" QT_XCB_GL_INTEGRATION=none startup_series data
startup_figures data
echo "   the same with the database of an earlier start: rumbolo $APP_MS ms mapped, $APP_FRAME ms first frame;" \
    "minimal window $BASE_MS ms, $BASE_FRAME ms; ratios $(ratio "$APP_MS" "$BASE_MS") and $(ratio "$APP_FRAME" "$BASE_FRAME")"
summary "  same, database already there (mapped)" "$APP_MS" "$BASE_MS" "$(ratio "$APP_MS" "$BASE_MS")" "(diagnostic)"

# Each program as shipped: Rumbolo without the GLX integration, the minimal
# window with Qt's default, which on this machine loads Mesa's software
# renderer and LLVM; and Rumbolo with the integration on as well.
startup_series shipped
startup_figures shipped
echo "   each as shipped (the minimal window with Qt's GLX integration): rumbolo $APP_MS ms against $BASE_MS ms," \
    "ratio $(ratio "$APP_MS" "$BASE_MS")"
summary "  same, minimal window with Qt's GLX integration" "$APP_MS" "$BASE_MS" "$(ratio "$APP_MS" "$BASE_MS")" "(diagnostic)"
APP_ENV=QT_XCB_GL_INTEGRATION=xcb_glx startup_series glx
startup_figures glx
echo "   both with Qt's GLX integration (QT_XCB_GL_INTEGRATION=xcb_glx for rumbolo): $APP_MS ms against $BASE_MS ms," \
    "ratio $(ratio "$APP_MS" "$BASE_MS"); memory $(mib "$APP_RSS") MiB"
summary "  same, both with Qt's GLX integration" "$APP_MS" "$BASE_MS" "$(ratio "$APP_MS" "$BASE_MS")" "(diagnostic)"
GLX_ADMIN_RSS="$APP_RSS"

# The minimal window draws nothing; any window with words on it loads and draws
# a font. Like for like again, against the minimal window with one line of text.
BASE_ARGS=--text QT_XCB_GL_INTEGRATION=none startup_series text
startup_figures text
echo "   against the minimal window with one line of text (both without GLX): rumbolo $APP_MS ms mapped," \
    "$APP_FRAME ms first frame; the window with text $BASE_MS ms, $BASE_FRAME ms;" \
    "ratios $(ratio "$APP_MS" "$BASE_MS") and $(ratio "$APP_FRAME" "$BASE_FRAME")"
summary "  same, minimal window with one line of text (mapped)" "$APP_MS" "$BASE_MS" "$(ratio "$APP_MS" "$BASE_MS")" "(diagnostic)"

# Where the application's own start-up time goes, object by object.
run_dir "$WORK/startup/parts"
"$BENCH" startup-parts --dir "$WORK/startup/parts" >"$WORK/startup-parts.txt" 2>/dev/null
run_dir "$WORK/startup/whole"
"$BENCH" startup-parts --whole --dir "$WORK/startup/whole" >>"$WORK/startup-parts.txt" 2>/dev/null
echo "   in-process: MainWindow constructor $(field 'whole MainWindow::MainWindow' "$WORK/startup-parts.txt") ms," \
    "show until exposed $(field 'whole show_until_exposed' "$WORK/startup-parts.txt") ms;" \
    "built after the first paint $(field 'whole built_after_the_first_paint' "$WORK/startup-parts.txt") ms. Parts on the way to the first frame:"
grep '^part ' "$WORK/startup-parts.txt" | awk '{printf "     %-55s %6s ms\n", $2, $3}'
echo "   largest parts built after the first frame:"
grep '^after ' "$WORK/startup-parts.txt" | sort -k3 -g -r | head -n 6 | awk '{printf "     %-55s %6s ms\n", $2, $3}'

# ---------------------------------------------------------------- 2. one stored answer
# The application: N answers through MainWindow::logValueForKey, each its own
# autocommit INSERT (rollback journal, synchronous FULL). The yardstick: one
# sqlite3 shell process running the same N INSERTs, each its own transaction,
# on a database of the same schema in the same file system; the shell's own
# start (the same script without the INSERTs) is subtracted. Both sides first
# store 20 rows that are not timed (the first transactions on a new file cost
# more).
echo
echo "-- 2. one stored answer ($STORE_ROWS answers per run, $STORE_RUNS runs, median of the per-answer cost)"
today="$(date '+%Y-%m-%d %H:%M:%S')"
# store_run ROOT OUT COUNT: one run of each side under ROOT, figures appended to OUT.
store_run() {
    local root="$1" out="$2" count="$3" dir rows t0 empty_ms full_ms i
    rm -rf "$root"
    mkdir -p "$root"
    # The program stops in a folder without the tests' pictures and prompts.
    run_dir "$root/app"
    QT_QPA_PLATFORM=offscreen "$BENCH" store --dir "$root/app" --count "$count" >"$root/app.txt" 2>"$root/app.log" \
        || { echo "rumbolo-bench store failed:" >&2; cat "$root/app.log" >&2; exit 1; }
    rows="$(field store_rows "$root/app.txt")"
    [ "$rows" = "$((2 * count))" ] || { echo "the application stored $rows rows instead of $((2 * count))" >&2; exit 1; }
    echo "app $(field store_slot_per_call_us "$root/app.txt") $(field store_insert_per_call_us "$root/app.txt")" >>"$out"

    dir="$root/sqlite"
    mkdir -p "$dir"
    sqlite3 "$dir/data" "CREATE TABLE settings (key TEXT UNIQUE, value TEXT);
        INSERT INTO settings (key, value) VALUES ('status', '1');
        CREATE TABLE evaluation (name TEXT,lastName TEXT,level TEXT,codeGroup TEXT,fullEvaluation TEXT,endOfYear TEXT,evaluationDate TEXT);
        CREATE TABLE log (date TEXT,evaluationId TEXT,test TEXT,key TEXT,value TEXT);"
    printf 'PRAGMA journal_mode=DELETE;\nPRAGMA synchronous=FULL;\n' >"$dir/empty.sql"
    {
        cat "$dir/empty.sql"
        for i in $(seq 0 $((count - 1))); do
            printf "INSERT INTO log (date,evaluationId,test,key,value) VALUES ('%s','1','VD1A','item%d','%d');\n" \
                "$today" $((i % 12)) $((1000 + i))
        done
    } >"$dir/inserts.sql"
    {
        cat "$dir/empty.sql"
        for i in $(seq 1 20); do
            printf "INSERT INTO log (date,evaluationId,test,key,value) VALUES ('%s','1','VD1A','warm-up','%d');\n" "$today" "$i"
        done
    } >"$dir/warm-up.sql"
    sqlite3 "$dir/data" <"$dir/warm-up.sql" >/dev/null
    t0="$(now_ns)"; sqlite3 "$dir/data" <"$dir/empty.sql" >/dev/null; empty_ms="$(ms_since "$t0")"
    t0="$(now_ns)"; sqlite3 "$dir/data" <"$dir/inserts.sql" >/dev/null; full_ms="$(ms_since "$t0")"
    [ "$(sqlite3 "$dir/data" "SELECT count(*) FROM log WHERE key <> 'warm-up'")" = "$count" ] || { echo "sqlite3 did not store every row" >&2; exit 1; }
    echo "sqlite3 $(awk -v f="$full_ms" -v e="$empty_ms" -v n="$count" 'BEGIN {printf "%.1f", (f-e)*1000/n}')" >>"$out"
    rm -rf "$root"
}
store_out="$WORK/store.txt"
: >"$store_out"
for r in $(seq 1 "$STORE_RUNS"); do
    store_run "$WORK/store/run-$r" "$store_out" "$STORE_ROWS"
done
STORE_APP="$(awk '$1=="app" {print $2}' "$store_out" | median)"
STORE_INSERT="$(awk '$1=="app" {print $3}' "$store_out" | median)"
STORE_BASE="$(awk '$1=="sqlite3" {print $2}' "$store_out" | median)"
STORE_RATIO="$(ratio "$STORE_APP" "$STORE_BASE")"
echo "   logValueForKey:                 $STORE_APP us per answer  (runs: $(awk '$1=="app" {printf "%s ", $2}' "$store_out"))"
echo "   DatabaseManager::insertRecord:  $STORE_INSERT us per row"
echo "   sqlite3 shell, same INSERTs:    $STORE_BASE us per row     (runs: $(awk '$1=="sqlite3" {printf "%s ", $2}' "$store_out"))"
echo "   ratio $STORE_RATIO (target 2)"
summary "one stored answer, median us" "$STORE_APP" "$STORE_BASE" "$STORE_RATIO" "$(verdict "$STORE_RATIO" 2) (target <= 2x)"

# The same in memory (tmpfs: flushing costs nothing; ten times as many rows),
# to show what the application adds in processing alone.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    shm="$(mktemp -d /dev/shm/rumbolo-bench.XXXXXX)"
    : >"$WORK/store-shm.txt"
    for r in $(seq 1 "$STORE_RUNS"); do
        store_run "$shm/run-$r" "$WORK/store-shm.txt" $((10 * STORE_ROWS))
    done
    rm -rf "$shm"
    shm_app="$(awk '$1=="app" {print $2}' "$WORK/store-shm.txt" | median)"
    shm_base="$(awk '$1=="sqlite3" {print $2}' "$WORK/store-shm.txt" | median)"
    echo "   in memory (tmpfs, no flush cost): logValueForKey $shm_app us, sqlite3 $shm_base us, ratio $(ratio "$shm_app" "$shm_base")"
    summary "  same on tmpfs (no flush cost), median us" "$shm_app" "$shm_base" "$(ratio "$shm_app" "$shm_base")" "(diagnostic)"
fi

# ---------------------------------------------------------------- 3. sending
# sending_service DIR: a local scoring service with its data in DIR, and what the
# sending needs to reach it (URL, CA, the demo account, UPLOADS).
sending_service() {
    SERVICE_DIR="$1"
    start_scoring_service "$SERVICE_DIR" "$BUILD" 0 >/dev/null
    URL="$RUMBOLO_SCORING_URL"
    CA="$RUMBOLO_SCORING_CA"
    USER_NAME="$RUMBOLO_SCORING_DEMO_USER"
    PASSWORD="$RUMBOLO_SCORING_DEMO_PASSWORD"
    UPLOADS="$SERVICE_DIR/uploads/$USER_NAME"
}

# Sends every evaluation of the application's folder RUN through its upload
# page to the local scoring service (figures in OUT.txt, its log in OUT.log),
# then checks that the service holds EXPECTED archives and that no evaluation
# or recording is left in RUN.
app_send() {
    local run="$1" out="$2" expected="$3" stored left
    "$BENCH" sync --dir "$run" --url "$URL" --ca "$CA" --user "$USER_NAME" --password "$PASSWORD" \
        >"$out.txt" 2>"$out.log" \
        || { echo "the application's sending of $expected evaluations failed:" >&2; cat "$out.txt" >&2; exit 1; }
    stored="$(find "$UPLOADS" -name '*.zip' | wc -l)"
    left="$(sqlite3 "$run/data" 'SELECT count(*) FROM evaluation')/$(find "$run/grabaciones" -type f | wc -l)"
    [ "$stored" = "$expected" ] && [ "$left" = "0/0" ] \
        || { echo "after sending $expected: $stored archives stored, $left evaluations/recordings left" >&2; exit 1; }
}
echo
echo "-- 3. packing and uploading $EVALUATIONS evaluations with $RECORDINGS recordings of $SECONDS_PER_RECORDING s each ($SYNC_RUNS runs each, median)"
sending_service "$WORK/sync/service"
MATERIAL="$WORK/sync/material"
t0="$(now_ns)"
"$BENCH" prepare-sync --dir "$MATERIAL" --kit "$KIT" --evaluations "$EVALUATIONS" --recordings "$RECORDINGS" \
    --seconds "$SECONDS_PER_RECORDING" >/dev/null
echo "   material: $(find "$MATERIAL/master/grabaciones" -name '*.wav' | wc -l) recordings," \
    "$(du -sm "$MATERIAL/master/grabaciones" | cut -f1) MB, made in $(ms_since "$t0") ms"
cat "$MATERIAL"/master/grabaciones/*.wav >/dev/null # both sides read from the page cache

sync_out="$WORK/sync.txt"
: >"$sync_out"
LARGEST_ZIP=0
for r in $(seq 1 "$SYNC_RUNS"); do
    # Yardstick: zip -6 of the same files, in the archive's entry order, and a
    # curl upload of each archive (the same multipart field), after one
    # credential check, one evaluation after the other as the application does.
    out="$WORK/sync/zip-$r"
    mkdir -p "$out"
    rm -rf "$SERVICE_DIR/uploads"
    t0="$(now_ns)"
    curl -fsS --cacert "$CA" "$URL/rumbolo/connection/$USER_NAME/$PASSWORD" | grep -q "rumbolo upload available"
    for id in $(seq 1 "$EVALUATIONS"); do
        mapfile -t entries <"$MATERIAL/baseline/evaluation_$id.files"
        (cd "$MATERIAL/baseline" && zip -6 -X -j -q "$out/evaluation_$id.zip" "${entries[@]}")
        size="$(stat -c %s "$out/evaluation_$id.zip")"
        [ "$size" -le "$LARGEST_ZIP" ] || LARGEST_ZIP="$size"
        curl -fsS --cacert "$CA" -F "myFile=@$out/evaluation_$id.zip;type=application/zip" \
            "$URL/rumbolo/upload/$USER_NAME/$PASSWORD" | grep -q EXITO
        rm -f "$out/evaluation_$id.zip"
    done
    base_ms="$(ms_since "$t0")"
    stored="$(find "$UPLOADS" -name '*.zip' | wc -l)"
    [ "$stored" = "$EVALUATIONS" ] || { echo "the service holds $stored archives from zip/curl" >&2; exit 1; }
    rm -rf "$out"

    # The application: the upload page of a real MainWindow, "Enviar" pressed.
    rm -rf "$SERVICE_DIR/uploads"
    run="$WORK/sync/app-$r"
    "$BENCH" clone-sync --dir "$MATERIAL" --to "$run" --kit "$KIT"
    app_send "$run" "$WORK/sync-app-$r" "$EVALUATIONS"
    largest_app="$(find "$UPLOADS" -name '*.zip' -printf '%s\n' | sort -n | tail -n1)"
    echo "run $r $(field sync_ms "$WORK/sync-app-$r.txt") $base_ms $(field peak_during_kib "$WORK/sync-app-$r.txt")" \
        "$(field maxrss_kib "$WORK/sync-app-$r.txt") $(field rss_before_kib "$WORK/sync-app-$r.txt") $largest_app" >>"$sync_out"
    rm -rf "$run"
done

# Peak memory of the sending alone: the upload page and the store without the
# rest of the application (same classes, a process of their own, drawing
# offscreen so that no display libraries count).
rm -rf "$SERVICE_DIR/uploads"
run="$WORK/sync/standalone"
"$BENCH" clone-sync --dir "$MATERIAL" --to "$run"
QT_QPA_PLATFORM=offscreen "$BENCH" sync --standalone --dir "$run" --url "$URL" --ca "$CA" --user "$USER_NAME" --password "$PASSWORD" \
    >"$WORK/sync-standalone.txt" 2>"$WORK/sync-standalone.log" \
    || { echo "the stand-alone sending failed" >&2; exit 1; }
rm -rf "$run" "$SERVICE_DIR/uploads"

SYNC_APP="$(awk '{print $3}' "$sync_out" | median)"
SYNC_BASE="$(awk '{print $4}' "$sync_out" | median)"
SYNC_RATIO="$(ratio "$SYNC_APP" "$SYNC_BASE")"
SYNC_PEAK="$(awk '{print $5}' "$sync_out" | sort -g | tail -n1)"
SYNC_MAXRSS="$(awk '{print $6}' "$sync_out" | sort -g | tail -n1)"
SYNC_BEFORE="$(awk '{print $7}' "$sync_out" | median)"
LARGEST_APP="$(awk '{print $8}' "$sync_out" | sort -g | tail -n1)"
STANDALONE_PEAK="$(field maxrss_kib "$WORK/sync-standalone.txt")"
STANDALONE_BEFORE="$(field rss_before_kib "$WORK/sync-standalone.txt")"
MEMORY_LIMIT="$(awk -v a="$LARGEST_APP" 'BEGIN {printf "%d", 2*a/1024 + 60*1024}')"
echo "   application (upload page of MainWindow): $SYNC_APP ms  (runs: $(awk '{printf "%s ", $3}' "$sync_out"))"
echo "   zip -6 + curl:                           $SYNC_BASE ms  (runs: $(awk '{printf "%s ", $4}' "$sync_out"))"
echo "   ratio $SYNC_RATIO (target 1.3)"
echo "   largest archive: application $(mib $((LARGEST_APP / 1024))) MiB, zip -6 $(mib $((LARGEST_ZIP / 1024))) MiB;" \
    "memory limit 2 x largest + 60 MiB = $(mib "$MEMORY_LIMIT") MiB"
echo "   peak resident while sending, whole application: $(mib "$SYNC_PEAK") MiB" \
    "(resident before pressing \"Enviar\": $(mib "$SYNC_BEFORE") MiB, process peak $(mib "$SYNC_MAXRSS") MiB)"
echo "   peak resident, upload page alone in its process: $(mib "$STANDALONE_PEAK") MiB" \
    "(before pressing \"Enviar\": $(mib "$STANDALONE_BEFORE") MiB)"
summary "pack + upload, median ms" "$SYNC_APP" "$SYNC_BASE" "$SYNC_RATIO" "$(verdict "$SYNC_RATIO" 1.3) (target <= 1.3x)"
summary "peak while sending, whole application, MiB" "$(mib "$SYNC_PEAK")" "$(mib "$MEMORY_LIMIT")" "" \
    "$(verdict "$SYNC_PEAK" "$MEMORY_LIMIT") (limit: 2 x largest archive + 60 MiB)"
summary "peak while sending, upload page alone, MiB" "$(mib "$STANDALONE_PEAK")" "$(mib "$MEMORY_LIMIT")" "" \
    "$(verdict "$STANDALONE_PEAK" "$MEMORY_LIMIT")"
stop_scoring_service || true

# ---------------------------------------------------------------- 4. memory over batteries
echo
echo "-- 4. resident memory on the administration window and after $BATTERIES full evaluations in one process"
battery_run() {
    local dir="$WORK/battery-$1"
    run_dir "$dir"
    "$BENCH" battery --dir "$dir" --batteries "$BATTERIES" >"$WORK/battery-$1.txt" 2>"$WORK/battery-$1.log" \
        || { echo "the evaluations did not all end by themselves:" >&2; cat "$WORK/battery-$1.txt" >&2; exit 1; }
    rm -rf "$dir"
}
battery_run default
B="$WORK/battery-default.txt"
ADMIN_RSS="$(field admin_rss_kib "$B")"
echo "   administration window: $(mib "$ADMIN_RSS") MiB resident ($(mib "$(field admin_anon_kib "$B")") MiB its own," \
    "$(mib "$(field admin_file_kib "$B")") MiB mapped from files; heap in use $(mib "$(field admin_heap_kib "$B")") MiB)"
for i in $(seq 1 "$BATTERIES"); do
    echo "   after evaluation $i: $(mib "$(field "battery_${i}_rss_kib" "$B")") MiB resident" \
        "($(mib "$(field "battery_${i}_anon_kib" "$B")") MiB its own)," \
        "heap in use $(mib "$(field "battery_${i}_heap_kib" "$B")") MiB," \
        "$(mib "$(field "battery_${i}_trimmed_rss_kib" "$B")") MiB resident once malloc has returned its free pages;" \
        "$(field "battery_${i}_tests" "$B" | tr ',' '\n' | wc -l) tests in $(field "battery_${i}_seconds" "$B") s," \
        "$(field "battery_${i}_presses" "$B") presses, $(field "battery_${i}_keys" "$B") keys," \
        "$(field "battery_${i}_forced" "$B") moved on by force;" \
        "message \"$(field "battery_${i}_message" "$B")\""
done
echo "   log rows stored: $(field log_rows "$B")"
echo "   tests moved on by force (all evaluations): $(sed -n 's/^moved on by force: //p' "$WORK/battery-default.log" \
    | sort | uniq -c | awk '{printf "%s%s x%s", (NR > 1 ? ", " : ""), $2, $1}')"
FIRST_RSS="$(field battery_1_rss_kib "$B")"
LAST_RSS="$(field "battery_${BATTERIES}_rss_kib" "$B")"
GROWTH="$((LAST_RSS - FIRST_RSS))"
TRIMMED_GROWTH="$(( $(field "battery_${BATTERIES}_trimmed_rss_kib" "$B") - $(field battery_1_trimmed_rss_kib "$B") ))"
HEAP_GROWTH="$(( $(field "battery_${BATTERIES}_heap_kib" "$B") - $(field battery_1_heap_kib "$B") ))"
echo "   growth from evaluation 1 to $BATTERIES: resident $GROWTH KiB, resident after malloc_trim $TRIMMED_GROWTH KiB," \
    "heap in use $HEAP_GROWTH KiB"
summary "resident on the administration window, MiB" "$(mib "$ADMIN_RSS")" "80.0" "" "$(verdict "$ADMIN_RSS" $((80 * 1024))) (target < 80 MiB)"
summary "  same, real binary 1 s after start, MiB" "$(mib "$ADMIN_RSS_BINARY")" "80.0" "" "$(verdict "$ADMIN_RSS_BINARY" $((80 * 1024)))"
summary "  same, real binary with Qt's GLX integration, MiB" "$(mib "$GLX_ADMIN_RSS")" "80.0" "" "(diagnostic)"
summary "resident after evaluation $BATTERIES, MiB" "$(mib "$LAST_RSS")" "80.0" "" "$(verdict "$LAST_RSS" $((80 * 1024))) (target < 80 MiB)"
summary "growth evaluation 1 -> $BATTERIES, KiB (resident / heap)" "$GROWTH" "$HEAP_GROWTH" "" ""
summary "  resident after malloc_trim, KiB" "$TRIMMED_GROWTH" "" "" \
    "$(verdict "$TRIMMED_GROWTH" 256) (target: no growth; 256 KiB allowed for noise)"

# ---------------------------------------------------------------- 5. from a prompt request to sound
# The application: MainWindow::playSound (where a test's requestPlaySound
# arrives) of a kit prompt, timed to the first sample above silence that the
# server writes into its speaker pipe (read by rumbolo-bench in a thread of its
# own; the sample's place in its block added), less the prompt's own leading
# silence. The yardstick: `paplay` of the same file, started at a known instant
# and timed the same way. The same for recording: while a tone plays into the
# microphone all along, MainWindow::startRecordingSound timed to the first
# samples the recorder's input hands over, against `parec` (raw, the recorder's
# format, the same fragment size as the recorder's input) timed from its start
# to the first bytes on its output. Run 0 of each side is a warm-up; the sides
# take turns going first.
echo
echo "-- 5. from a prompt's request to its sound, and from a recording's start to its first samples ($AUDIO_RUNS runs each, after a warm-up)"
# dist: "median m (90th percentile p, range a-b)" of the numbers on stdin.
dist() { sort -g | awk '{v[NR]=$1} END {i=int(0.9*NR+0.999); if (i<1) i=1; m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2;
    printf "median %.1f ms (90th percentile %.1f, range %.1f to %.1f)", m, v[i], v[1], v[NR]}'; }
words() { tr ' ' '\n' | grep -v '^$'; }
AUDIO_PROMPT="$KIT/sounds/CF1A/arbol.wav"
sox -n -r 8000 -c 1 -b 16 -e signed-integer -t wavpcm "$WORK/tone.wav" synth 300 sine 440 vol 0.5
read -r _ _ _ sink_format sink_channels sink_rate _ < <(pactl list sinks short | awk '$2 == "speaker"')
[ "$sink_format" = s16le ] || { echo "the speaker pipe carries $sink_format, not s16le" >&2; exit 1; }
run_dir "$WORK/audio"
"$BENCH" audio-latency --dir "$WORK/audio" --speaker "$WORK/services/speaker.fifo" \
    --speaker-channels "${sink_channels%ch}" --speaker-rate "${sink_rate%Hz}" \
    --prompt "$AUDIO_PROMPT" --tone "$WORK/tone.wav" --runs "$AUDIO_RUNS" \
    >"$WORK/audio.txt" 2>"$WORK/audio.log" \
    || { echo "the audio latency runs failed:" >&2; tail -n 5 "$WORK/audio.log" >&2; exit 1; }
A="$WORK/audio.txt"
PLAY_APP="$(field play_app_ms "$A" | words | median)"
PLAY_BASE="$(field play_paplay_ms "$A" | words | median)"
REC_APP="$(field record_app_ms "$A" | words | median)"
REC_BASE="$(field record_parec_ms "$A" | words | median)"
PLAY_RATIO="$(ratio "$PLAY_APP" "$PLAY_BASE")"
REC_RATIO="$(ratio "$REC_APP" "$REC_BASE")"
echo "   prompt $(basename "$(dirname "$AUDIO_PROMPT")")/$(basename "$AUDIO_PROMPT"), speaker pipe $sink_format $sink_channels $sink_rate"
echo "   request to sound:  rumbolo $(field play_app_ms "$A" | words | dist)"
echo "                      paplay  $(field play_paplay_ms "$A" | words | dist)"
echo "   ratio $PLAY_RATIO (target 1.2), rumbolo's median $PLAY_APP ms (target 60 ms)"
echo "   of which: the request returns after $(field play_app_returned_ms "$A" | words | median) ms, the output hands" \
    "its first samples to the server after $(field play_app_handed_ms "$A" | words | median) ms (medians)"
echo "   start to first samples: rumbolo $(field record_app_ms "$A" | words | dist)"
echo "                           parec   $(field record_parec_ms "$A" | words | dist)"
echo "   ratio $REC_RATIO (target 1.2), rumbolo's median $REC_APP ms (target 60 ms)"
echo "   buffers: output $(field output_buffer_bytes "$A") bytes (period $(field output_period_bytes "$A")) at 44100 Hz mono 16-bit;" \
    "input $(field input_buffer_bytes "$A") bytes (period $(field input_period_bytes "$A")) at 8000 Hz mono 8-bit"
UNDERRUNS="$(field play_underruns "$A")"
for i in $(seq 1 "$BATTERIES"); do
    UNDERRUNS=$((UNDERRUNS + $(field "battery_${i}_underruns" "$B")))
done
echo "   underruns: $UNDERRUNS (the $((2 * AUDIO_RUNS + 3)) prompts above and every prompt of section 4's $BATTERIES evaluations)"
summary "prompt request to sound, median ms" "$PLAY_APP" "$PLAY_BASE" "$PLAY_RATIO" \
    "$(verdict "$PLAY_RATIO" 1.2) (target <= 1.2x), $(verdict "$PLAY_APP" 60) (target <= 60 ms)"
summary "recording start to first samples, median ms" "$REC_APP" "$REC_BASE" "$REC_RATIO" \
    "$(verdict "$REC_RATIO" 1.2) (target <= 1.2x), $(verdict "$REC_APP" 60) (target <= 60 ms)"
summary "underruns over the prompts played" "$UNDERRUNS" "" "" "$(verdict "$UNDERRUNS" 0) (target 0)"

# ---------------------------------------------------------------- 6. sending at scale
# As section 3's application side, for stores of 50, 200 and 500 evaluations
# (the recordings beyond the first 250 are hard links to those, in turn), one
# run each: the cost per evaluation, and the peak resident size of the whole
# application while sending. Then the store's share alone (rumbolo-bench
# store-cost: the export file written from the database and the evaluation's
# rows deleted, for every evaluation), with the log's index and without it as
# in a file of an earlier version.
echo
echo "-- 6. packing and uploading at the scale of a school year ($SCALE_SIZES evaluations, $RECORDINGS recordings of $SECONDS_PER_RECORDING s each)"
sending_service "$WORK/scale/service"
scale_out="$WORK/scale.txt"
: >"$scale_out"
for n in $SCALE_SIZES; do
    material="$WORK/scale/material-$n"
    "$BENCH" prepare-sync --dir "$material" --kit "$KIT" --evaluations "$n" --recordings "$RECORDINGS" \
        --seconds "$SECONDS_PER_RECORDING" --distinct-recordings $((50 * RECORDINGS)) >/dev/null
    cat "$material"/master/grabaciones/*.wav >/dev/null
    rm -rf "$SERVICE_DIR/uploads"
    run="$WORK/scale/run-$n"
    "$BENCH" clone-sync --dir "$material" --to "$run" --kit "$KIT"
    app_send "$run" "$WORK/scale-$n" "$n"
    costs=()
    for variant in with without; do
        rm -rf "$run"
        "$BENCH" clone-sync --dir "$material" --to "$run"
        flag=(); [ "$variant" = with ] || flag=(--without-index)
        QT_QPA_PLATFORM=offscreen "$BENCH" store-cost --dir "$run" "${flag[@]}" >"$WORK/scale-$n-store-$variant.txt" 2>/dev/null
        costs+=("$(field store_cost_export_us "$WORK/scale-$n-store-$variant.txt")" \
            "$(field store_cost_delete_us "$WORK/scale-$n-store-$variant.txt")")
    done
    ms="$(field sync_ms "$WORK/scale-$n.txt")"
    echo "$n $ms $(awk -v t="$ms" -v n="$n" 'BEGIN {printf "%.1f", t/n}') $(field peak_during_kib "$WORK/scale-$n.txt") ${costs[*]}" >>"$scale_out"
    rm -rf "$run" "$material" "$SERVICE_DIR/uploads"
done
stop_scoring_service || true
SCALE_MIN="$(awk '{print $3}' "$scale_out" | sort -g | head -n1)"
SCALE_MAX="$(awk '{print $3}' "$scale_out" | sort -g | tail -n1)"
SCALE_SPREAD="$(ratio "$SCALE_MAX" "$SCALE_MIN")"
awk '{printf "   %4d evaluations: %9.1f ms in all, %6.1f ms per evaluation, peak resident %5.1f MiB;" \
    " store per evaluation %s + %s us (export + delete), without the index %s + %s us\n", $1, $2, $3, $4/1024, $5, $6, $7, $8}' "$scale_out"
echo "   per evaluation, largest / smallest: $SCALE_SPREAD (target 1.2)"
summary "pack + upload per evaluation, ms (sizes $(echo "$SCALE_SIZES" | tr ' ' '/'))" \
    "$(awk '{printf "%s%s", (NR > 1 ? "/" : ""), $3}' "$scale_out")" "" "$SCALE_SPREAD" \
    "$(verdict "$SCALE_SPREAD" 1.2) (target: largest/smallest <= 1.2)"
summary "peak while sending $(awk 'END {print $1}' "$scale_out") evaluations, MiB" \
    "$(mib "$(awk 'END {print $4}' "$scale_out")")" "$(mib "$MEMORY_LIMIT")" "" \
    "$(verdict "$(awk 'END {print $4}' "$scale_out")" "$MEMORY_LIMIT") (limit of section 3)"
# ---------------------------------------------------------------- 7. the individual form's first frame
# In one process on the virtual display with the private audio server: from the
# click on "Evaluación individual" to the form's first frame painted and
# flushed, runs taking turns with the form's sound devices' line and with it
# hidden (the form as it was before the line); then on to the microphone opened,
# which the line does after that frame.
echo
echo "-- 7. the individual form's first frame (with and without its sound devices' line, median)"
run_dir "$WORK/form-frame"
"$BENCH" form-frame --dir "$WORK/form-frame" --runs "${BENCH_FORM_RUNS:-15}" >"$WORK/form-frame.txt" 2>"$WORK/form-frame.log" \
    || { echo "the form's first frame was not measured:" >&2; cat "$WORK/form-frame.txt" "$WORK/form-frame.log" >&2; exit 1; }
rm -rf "$WORK/form-frame"
FORM_WITH="$(field form_frame_with_line_ms "$WORK/form-frame.txt")"
FORM_WITHOUT="$(field form_frame_without_line_ms "$WORK/form-frame.txt")"
FORM_RATIO="$(ratio "$FORM_WITH" "$FORM_WITHOUT")"
echo "   with the line:    $FORM_WITH ms   (runs: $(field form_frame_with_line_runs "$WORK/form-frame.txt" | tr ',' ' '))"
echo "   without the line: $FORM_WITHOUT ms   (runs: $(field form_frame_without_line_runs "$WORK/form-frame.txt" | tr ',' ' '))"
echo "   ratio $FORM_RATIO (target 1.2); microphone open $(field form_microphone_open_ms "$WORK/form-frame.txt") ms after the click"
summary "individual form's first frame, median ms" "$FORM_WITH" "$FORM_WITHOUT" "$FORM_RATIO" \
    "$(verdict "$FORM_RATIO" 1.2) (target <= 1.2x, yardstick: the form without its line)"

# ---------------------------------------------------------------- 8. touch to screen
# From the examiner's click (sent through the X server with XTest; its server
# time read back) to the X damage event of the frame that shows its result
# (server time), over full evaluations of a real MainWindow on the virtual
# display with the audio server: the transition screen to the test's first
# screen, and its example button to the first item with its pictures (every
# test), one answer to the next item (CF2A and CL1A), and the check at a test's
# end to the next test's title, from the end of the program's 1000 ms pause.
echo
echo "-- 8. from a touch to the screen that shows its result ($TOUCH_EVALUATIONS full evaluations)"
# The tests ask for the full screen, which only a window manager grants, as on
# the examiner's desktop; without one the window keeps the administration
# window's size and the pictures placed towards the right edge of a test fall
# outside it, where no touch can reach them. The window manager gets a display
# and an audio server of their own, started afresh: the earlier sections time
# windows mapped without one.
stop_services
start_display "$WORK/services-touch"
start_audio "$WORK/services-touch"
start_window_manager "$WORK/services-touch"
run_dir "$WORK/touch"
if ! "$BENCH" touch --dir "$WORK/touch" --evaluations "$TOUCH_EVALUATIONS" >"$WORK/touch.txt" 2>"$WORK/touch.log"; then
    echo "   the evaluations did not all end by themselves (the samples taken are shown):"
    tail -n 5 "$WORK/touch.log" | sed 's/^/     /'
fi
rm -rf "$WORK/touch"
# percentile P of the numbers on standard input (nearest rank)
percentile() { sort -g | awk -v p="$1" '{v[NR]=$1} END {if (NR == 0) {print "nan"; exit} r=int((p*NR+99)/100); if (r<1) r=1; print v[r]}'; }
for move in transition first answer end; do
    values="$WORK/touch-$move.txt"
    awk -v m="$move" '$1=="sample" && $2==m {print $4}' "$WORK/touch.txt" >"$values"
    count="$(wc -l <"$values")"
    p50="$(percentile 50 <"$values")"; p95="$(percentile 95 <"$values")"; worst="$(percentile 100 <"$values")"
    case "$move" in
        transition) label="title screen to the test's first screen" ;;
        first) label="example button to the first item with its pictures" ;;
        answer) label="answer to next item (CF2A, CL1A)" ;;
        end) label="check to next title, less the 1000 ms pause" ;;
    esac
    echo "   $label: $count samples, median $p50 ms, p95 $p95 ms, largest $worst ms (target p95 <= 50 ms)"
    summary "touch to frame: $label, p95 ms" "$p95" "50" "" "$(verdict "$p95" 50) (median $p50, largest $worst, n=$count)"
    echo "     by test (median/largest ms): $(awk -v m="$move" '$1=="sample" && $2==m {print $3, $4}' "$WORK/touch.txt" \
        | sort -k1,1 -k2,2g | awk '{n[$1]++; v[$1,n[$1]]=$2} END {for (t in n) {printf "%s %s/%s\n", t, v[t,int((n[t]+1)/2)], v[t,n[t]]}}' \
        | sort | tr '\n' ' ')"
done
WORST_TEST="$(awk '$1=="sample" && $2=="transition" {print $3, $4}' "$WORK/touch.txt" | sort -k2 -g -r | head -n1)"
echo "   slowest transition: $WORST_TEST ms; tests moved on by force: $(field forced "$WORK/touch.txt");" \
    "touches aimed at something covered or off the screen: $(field unreachable "$WORK/touch.txt") (should be 0)"
summary "  touches that could not reach their widget" "$(field unreachable "$WORK/touch.txt")" "0" "" \
    "$(verdict "$(field unreachable "$WORK/touch.txt")" 0) (diagnostic: each is a test a child could not answer there)"
summary "  slowest test, transition (test ms)" "$WORST_TEST" "" "" "(diagnostic)"

# ---------------------------------------------------------------- summary
echo
echo "== Summary (load average now $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-58s %12s %12s %8s  %s\n' "figure" "Rumbolo" "yardstick" "ratio" "verdict"
cat "$SUMMARY"
