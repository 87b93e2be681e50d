#!/usr/bin/env bash
# An install into a temporary prefix and the Debian package of the build in $1: the files the
# desktop needs are there and validate, and the installed programs find their data.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
expected=(
  bin/velmora bin/velmora-cli
  share/applications/velmora.desktop
  share/metainfo/example.velmora.Velmora.metainfo.xml
  share/velmora/TIPOFDAY.DAT share/velmora/Skins/cloud_skin.jpg share/velmora/Skins/midnight_skin.jpg
  share/velmora/Skins/brushed_skin.jpg share/velmora/demo/demo.cue share/velmora/demo/demo.bin
  share/doc/velmora/velmora.html lib/velmora/velmora-http.so
)
for size in 16 22 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/velmora.png"); done
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "the install lacks $f"; done
# Nothing of the build tree (tests, benchmarks) goes along.
[ "$(ls "$prefix/bin")" = "$(printf 'velmora\nvelmora-cli')" ] || fail "unexpected programs: $(ls "$prefix/bin")"
for size in 16 48 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/velmora.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size} px icon is not a ${size} px picture"
done

desktop-file-validate "$prefix/share/applications/velmora.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.velmora.Velmora.metainfo.xml" >/dev/null ||
  fail "$(appstreamcli validate --no-net "$prefix/share/metainfo/example.velmora.Velmora.metainfo.xml")"

# The installed programs, with no data beside them, find it in the data folder an install
# uses and keep the disc database in the user's data folder when that one is not writable.
export XDG_DATA_DIRS=$prefix/share XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
unset VELMORA_HOME VELMORA_DRIVE VELMORA_MCI_LOG
chmod -R a-w "$prefix/share/velmora"
id=$(cd "$work" && "$prefix/bin/velmora-cli" discid) || fail "the installed velmora-cli found no demo disc"
[[ $id =~ ^[0-9A-F]{8}$ && $id != 00000000 ]] || fail "the demo disc read as \"$id\""
info=$(cd "$work" && "$prefix/bin/velmora-cli" info) || fail "velmora-cli info failed"
grep -q "Unknown Title" <<<"$info" || fail "info shows: $info"
# A lookup loads the network module from the install (the server here refuses, exit 4).
lookup_err=$(cd "$work" && "$prefix/bin/velmora-cli" lookup --server 127.0.0.1:9/cddb.cgi 2>&1 >/dev/null) && fail "a refused lookup succeeded"
! grep -q "network module" <<<"$lookup_err" || fail "the installed velmora-cli cannot load its network module: $lookup_err"
if [ "$(id -u)" -ne 0 ]; then
  [ -s "$work/home/data/velmora/Velmora.ini" ] || fail "the disc database is not in the user's data folder"
fi
# The player itself, already the desktop's player for audio CDs so no question holds it up:
# it opens the installed demo disc and reads its tracks.
mkdir -p "$work/home/config" "$work/home/data/applications"
printf '[Default Applications]\nx-content/audio-cdda=velmora.desktop\n' >"$work/home/config/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Velmora\nExec=%s play\n' "$prefix/bin/velmora" \
  >"$work/home/data/applications/velmora.desktop"
(cd "$work" && VELMORA_MCI_LOG=$work/mci.log VELMORA_MPRIS=0 timeout 5 "$prefix/bin/velmora" >/dev/null 2>&1) || true
grep -qx $'open cdaudio alias cd wait shareable\t0' "$work/mci.log" || fail "the installed player opened no drive"
grep -qx $'status cd number of tracks wait\t0' "$work/mci.log" || fail "the installed player found no disc"
chmod -R u+w "$prefix/share/velmora"

# The package holds the same files under /usr.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/velmora_*.deb)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in "${expected[@]}"; do grep -qx "./usr/$f" <<<"$contents" || fail "the package lacks /usr/$f"; done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6.*qt6-qpa-plugins\|qt6-qpa-plugins.*libqt6widgets6' || fail "the package does not depend on Qt: $(dpkg-deb -f "$deb" Depends)"
echo "install and package: ${#expected[@]} files, $(du -k "$deb" | cut -f1) KiB package"
