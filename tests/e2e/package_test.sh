#!/usr/bin/env bash
# Makes the Debian package from the build (as scripts/package does, into a
# temporary folder), checks its fields and contents, runs lintian on it, then
# unpacks it with dpkg-deb -x and starts the unpacked game headless for 200
# ticks from another working directory, where it must find its own data.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail

build="$1"
id=io.github.soare.Soare
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log" >&2
  fail "cpack could not make the package"
}
debs=("$tmp"/out/soare_*_amd64.deb)
deb="${debs[0]}"
[ -f "$deb" ] || fail "no soare_VERSION_amd64.deb was made"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = soare ] || fail "the package is not called soare"
[ "$(field Architecture)" = amd64 ] || fail "the package is not for amd64"
[ "$(basename "$deb")" = "soare_$(field Version)_amd64.deb" ] || fail "the file name does not carry the version"
[ "$(field Section)" = games ] || fail "the package is not in section games"
depends="$(field Depends)"
# Computed from the program's libraries: SDL2, wxWidgets and its GL canvas,
# OpenGL (GLVND's dispatch library) and the C++ runtime, and nothing of the
# test tools.
for lib in libc6 libstdc++6 libsdl2-2.0-0 libwxgtk3.2 libwxgtk-gl3.2 libopengl0; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$depends" != *gtest* && "$depends" != *benchmark* ]] || fail "Depends names a test library: $depends"

dpkg-deb -c "$deb" >"$tmp/contents"
for file in usr/games/soare usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/256x256/apps/$id.png usr/share/man/man6/soare.6.gz \
    usr/share/doc/soare/copyright usr/share/doc/soare/changelog.gz \
    usr/share/soare/MeshFiles/shusui.x usr/share/soare/Textures/updraft.png usr/share/soare/Sound/PauseBlip.wav; do
  grep -q " \./$file\$" "$tmp/contents" || fail "$file is not in the package"
done
# Everything belongs to root, and nothing lands outside /usr.
awk '{ print $2 }' "$tmp/contents" | grep -qv '^root/root$' && fail "a file is not owned by root"
awk '{ print $6 }' "$tmp/contents" | grep -v '^\./$' | grep -qv '^\./usr/' && fail "a file is outside /usr"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$tmp/lintian.log" 2>&1 || {
    cat "$tmp/lintian.log" >&2
    fail "lintian found errors"
  }
fi

dpkg-deb -x "$deb" "$tmp/root"
mkdir "$tmp/elsewhere"
(cd "$tmp/elsewhere" && "$tmp/root/usr/games/soare" --headless --ticks 200 --trace -) >"$tmp/trace" 2>"$tmp/err" ||
  fail "the unpacked game failed: $(cat "$tmp/err")"
[ ! -s "$tmp/err" ] || fail "the unpacked game said: $(cat "$tmp/err")"
[ "$(wc -l <"$tmp/trace")" -eq 201 ] || fail "expected a header and 200 trace rows, got $(wc -l <"$tmp/trace") lines"
[ "$(tail -n 1 "$tmp/trace" | cut -d, -f1)" = 200 ] || fail "the last trace row is not tick 200"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "the game wrote into the working directory"

echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, Depends: $depends; the unpacked game ran 200 ticks"
