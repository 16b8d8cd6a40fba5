#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop and a
# player get: the program, its data, the desktop entry, the AppStream
# metainfo, the hicolor icons, the man page and the package's documents, all
# under one application id; then starts the installed game from / (headless,
# 10 ticks), where it must find its data by itself.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail

build="$1"
id=io.github.soare.Soare
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/soare \
    share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/128x128/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png \
    share/man/man6/soare.6.gz share/doc/soare/copyright share/doc/soare/changelog.gz \
    share/soare/MeshFiles/shusui.x share/soare/MeshFiles/box.x share/soare/MeshFiles/cylinder.x \
    share/soare/MeshFiles/cone.x share/soare/MeshFiles/sphere.x \
    share/soare/Textures/target.jpg share/soare/Textures/central-park.jpg \
    share/soare/Textures/islandTexture.jpg share/soare/Textures/updraft.png \
    share/soare/Sound/PauseBlip.wav; do
  [ -s "$prefix/$file" ] || fail "$file is not installed"
done
# Nothing the game writes while it runs is installed as data.
[ ! -e "$prefix/share/soare/MeshFiles/Land.x" ] || fail "the run-time terrain mesh was installed"

desktop="$prefix/share/applications/$id.desktop"
grep -qx 'Exec=soare' "$desktop" || fail "the desktop entry does not start soare"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo does not launch the desktop entry"
{ grep -q '@' "$prefix/share/metainfo/$id.metainfo.xml" || gzip -dc "$prefix/share/man/man6/soare.6.gz" | grep -q '@'; } &&
  fail "a configure placeholder was left in an installed file"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the metainfo does not validate"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
fi
for size in 48 128 256; do
  if command -v identify >/dev/null; then
    [ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png")" = "${size}x${size}" ] ||
      fail "the ${size}x${size} icon has another size"
  fi
done

# From /, with no data there: the installed game finds its own.
err="$(cd / && "$prefix/bin/soare" --headless --ticks 10 2>&1 >/dev/null)" || fail "soare --headless failed: $err"
[ -z "$err" ] || fail "soare said: $err"
echo "installed into a temporary prefix; the game ran from / with its data"
