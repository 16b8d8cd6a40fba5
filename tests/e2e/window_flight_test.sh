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
source "$(dirname "$0")/window_common.sh"

soare="$(private_game "$1")"

# Run from an unrelated folder: the game finds its data by itself.
cd "$work"
SOARE_READOUT_TRACE="$work/readouts.csv" "$soare" --record "$work/flight.keys" 2>"$work/stderr" &
pid=$!
# There is no window manager: the window is given the keyboard directly.
wait_for_window
sleep 1

press() {  # key, seconds held
  xdotool keydown --window "$window" "$1"
  sleep "$2"
  xdotool keyup --window "$window" "$1"
}
press Right 2
press Up 1
sleep 0.5
quit_with_escape

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
