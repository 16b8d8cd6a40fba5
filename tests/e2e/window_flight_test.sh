#!/usr/bin/env bash
# End-to-end: starts the real soare on a virtual X display of its own, finds
# its window "Soare!", flies it with key presses sent through the X server
# (xdotool), quits with Escape, and checks what a player would see and what
# the game recorded:
#   - the height, speed and time read-outs change while it flies (read from
#     the read-out controls themselves, traced by SOARE_READOUT_TRACE);
#   - the keys pressed reached the game (the --record file holds them);
#   - the headless game replaying that recording ends at the height the
#     window showed last.
# Usage: window_flight_test.sh SOARE_EXECUTABLE
set -euo pipefail

if [ -z "${SOARE_E2E_DISPLAY_READY:-}" ]; then
  SOARE_E2E_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

soare="$1"
work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$work/stderr" ] && sed 's/^/  soare: /' "$work/stderr" >&2; exit 1; }

# Run from an unrelated folder: the game finds its data by itself.
cd "$work"
SOARE_READOUT_TRACE="$work/readouts.csv" "$soare" --record "$work/flight.keys" 2>"$work/stderr" &
pid=$!

window=""
for _ in $(seq 1 100); do
  window="$(xdotool search --name '^Soare!$' 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "soare ended before its window appeared"
  sleep 0.2
done
[ -n "$window" ] || fail "no window named \"Soare!\" within 20 s"

# There is no window manager: give the window the keyboard directly.
xdotool windowfocus --sync "$window" || fail "cannot focus the window"
sleep 1

press() {  # key, seconds held
  xdotool keydown --window "$window" "$1"
  sleep "$2"
  xdotool keyup --window "$window" "$1"
}
press Right 2
press Up 1
sleep 0.5
xdotool key --window "$window" Escape

for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the game"
wait "$pid" || fail "soare exited with status $?"
pid=""

[ -s "$work/stderr" ] && fail "soare wrote to stderr"
[ -s "$work/readouts.csv" ] || fail "no read-outs traced"
[ -s "$work/flight.keys" ] || fail "no recording written"

# Read-outs: tick,height,speed,time,paused. They must change while flying.
rows="$(wc -l <"$work/readouts.csv")"
[ "$rows" -ge 20 ] || fail "only $rows ticks in about 5 s"
heights="$(cut -d, -f2 "$work/readouts.csv" | sort -u | wc -l)"
speeds="$(cut -d, -f3 "$work/readouts.csv" | sort -u | wc -l)"
[ "$heights" -ge 10 ] || fail "the height read-out hardly changed ($heights values)"
[ "$speeds" -ge 2 ] || fail "the speed read-out never changed"
awk -F, 'NR == 1 { first = $4 } END { if (!($4 > first + 2)) exit 1 }' "$work/readouts.csv" ||
  fail "the time read-out did not advance by 2 s"

grep -Eq '^[0-9]+ [LRUDP]*R' "$work/flight.keys" || fail "Right never reached the game"
grep -Eq '^[0-9]+ [LRUDP]*U' "$work/flight.keys" || fail "Up never reached the game"

# Replay the recording without a window: the same flight, the same height.
ticks="$(awk '!/^#/ && NF == 2 { n += $1 } END { print n }' "$work/flight.keys")"
"$soare" --headless --ticks "$ticks" --input "$work/flight.keys" --trace "$work/replay.csv" ||
  fail "the replay failed"
shown="$(tail -n 1 "$work/readouts.csv" | cut -d, -f2)"
replayed="$(tail -n 1 "$work/replay.csv" | cut -d, -f3)"
awk -v a="$shown" -v b="$replayed" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d < 1e-4) }' ||
  fail "the window showed height $shown at the end, the replay of its recording reached $replayed"

echo "window flight: $rows ticks, $heights heights, replay of $ticks ticks ends at height $replayed as shown"
