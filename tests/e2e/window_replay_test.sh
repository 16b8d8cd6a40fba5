#!/usr/bin/env bash
# End-to-end: the real soare replays a key script that lands on the target
# (tests/game/landing.keys) in its window (--replay) on a virtual X display of
# its own, and quits with Escape. The time read-out, read from the read-out
# control itself (traced by SOARE_READOUT_TRACE), must stop at the landing
# and at the value the headless game gives for the same script; the height
# shown at the landing must be the headless game's; --stats prints its line.
# Usage: window_replay_test.sh SOARE_EXECUTABLE KEY_SCRIPT
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

soare="$(private_game "$1")"
keys="$(realpath "$2")"

# The script's steps, and 80 more (two seconds) to see the clock stand.
landing="$(awk '!/^#/ && NF == 2 { n += $1 } END { print n }' "$keys")"
steps=$((landing + 80))

cd "$work"
SOARE_READOUT_TRACE="$work/readouts.csv" "$soare" --replay "$keys" --stats >"$work/stdout" 2>"$work/stderr" &
pid=$!
wait_for_window

# At 40 steps a second the replay takes about $((steps / 40)) s; allow for a
# slow machine.
for _ in $(seq 1 600); do
  rows=0
  [ -f "$work/readouts.csv" ] && rows="$(wc -l <"$work/readouts.csv")"
  [ "$rows" -ge "$steps" ] && break
  kill -0 "$pid" 2>/dev/null || fail "soare ended during the replay"
  sleep 0.2
done
[ "$rows" -ge "$steps" ] || fail "only $rows of $steps steps replayed in 120 s"

quit_with_escape

[ -s "$work/stderr" ] && fail "soare wrote to stderr"
grep -Eq '^[0-9]+ steps, [0-9]+ frames, [0-9.]+ s: ' "$work/stdout" || fail "no --stats line: $(cat "$work/stdout")"

# The headless game's replay of the same script: when it lands, and its time.
"$soare" --headless --ticks "$steps" --input "$keys" --trace "$work/headless.csv" ||
  fail "the headless replay failed"
landed="$(awk -F, 'NR > 1 && $12 == 1 { print $1; exit }' "$work/headless.csv")"
[ "$landed" = "$landing" ] || fail "the headless game landed at step '$landed', not $landing"
time="$(awk -F, -v t="$landed" '$1 == t { print $14 }' "$work/headless.csv")"
height="$(awk -F, -v t="$landed" '$1 == t { print $3 }' "$work/headless.csv")"

# Read-outs: step,height,speed,time,paused.
near() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d < 1e-4) }'; }
shownHeight="$(awk -F, -v t="$landed" '$1 == t { print $2 }' "$work/readouts.csv")"
near "$shownHeight" "$height" || fail "the window showed height $shownHeight at the landing, the headless game $height"
before="$(awk -F, -v t="$landed" '$1 == t - 1 { print $4 }' "$work/readouts.csv")"
awk -v a="$before" -v b="$time" 'BEGIN { exit !(a < b) }' ||
  fail "the time read-out stood at $before before the landing (landing time $time)"
awk -F, -v t="$landed" -v want="$time" '
  $1 >= t { d = $4 - want; if (d < 0) d = -d; if (d >= 1e-4) { print $1 ": " $4; bad = 1 } }
  END { exit bad }' "$work/readouts.csv" >"$work/moved" ||
  fail "the time read-out did not stop at $time: $(head -n 3 "$work/moved")"

echo "window replay: landed at step $landed, the time read-out stopped at $time as headless; $(cat "$work/stdout")"
