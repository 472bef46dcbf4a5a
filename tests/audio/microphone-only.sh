#!/usr/bin/env bash
# Runs a test program against a private audio server of its own that has a
# microphone and no speaker (RUMBOLO_AUDIO_PASS=nospeaker), then stops it.
#   tests/audio/microphone-only.sh <program> [arguments...]
set -u
dir="$(mktemp -d /tmp/rumbolo-microphone-only.XXXXXX)"
export XDG_RUNTIME_DIR="$dir/xdg" PULSE_SERVER="unix:$dir/xdg/pulse/native" RUMBOLO_AUDIO_PASS=nospeaker
mkdir -m 700 "$XDG_RUNTIME_DIR"
cat >"$dir/pulse.pa" <<PA
load-module module-native-protocol-unix
load-module module-pipe-source source_name=microphone file=$dir/microphone.fifo
set-default-source microphone
PA
if ! pulseaudio -D -n -F "$dir/pulse.pa" --exit-idle-time=-1 --log-target="file:$dir/pulse.log"; then
    echo "the audio server with a microphone only did not start:" >&2
    cat "$dir/pulse.log" >&2
    rm -rf "$dir"
    exit 1
fi
for _ in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
done
"$@"
status=$?
pid="$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null)"
if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
fi
rm -rf "$dir"
exit $status
