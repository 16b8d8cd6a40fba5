# What the two window tests share; sourced by each after `set -euo pipefail`.
# Runs the test again on a virtual X display of its own, gives it a private
# folder $work (removed at the end, with the game killed if it still runs),
# and a private copy of the game, $soare, beside links to the build's data:
# the game writes its land mesh beside its data, and two tests running at
# once must not write one file.

if [ -z "${SOARE_E2E_DISPLAY_READY:-}" ]; then
  SOARE_E2E_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$work/stderr" ] && sed 's/^/  soare: /' "$work/stderr" >&2; exit 1; }

# The game at $1 copied into $work/game with its data; prints the copy's path.
private_game() {
  local built run
  built="$(realpath "$1")"
  run="$(dirname "$built")"
  mkdir -p "$work/game/MeshFiles"
  cp "$built" "$work/game/soare"
  ln -s "$run/Textures" "$run/Sound" "$work/game/"
  for mesh in "$run"/MeshFiles/*.x; do
    [ "$(basename "$mesh")" = Land.x ] || ln -s "$mesh" "$work/game/MeshFiles/"
  done
  echo "$work/game/soare"
}

# Waits for the window "Soare!" of the game running as $pid; sets $window.
wait_for_window() {
  window=""
  for _ in $(seq 1 100); do
    window="$(xdotool search --name '^Soare!$' 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "soare ended before its window appeared"
    sleep 0.2
  done
  [ -n "$window" ] || fail "no window named \"Soare!\" within 20 s"
  xdotool windowfocus --sync "$window" || fail "cannot focus the window"
}

# Escape ends the game, which must exit cleanly within 10 s.
quit_with_escape() {
  xdotool key --window "$window" Escape
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$pid" 2>/dev/null && fail "Escape did not end the game"
  wait "$pid" || fail "soare exited with status $?"
  pid=""
}
