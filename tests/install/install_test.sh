#!/usr/bin/env bash
# An install into a temporary prefix and the Debian package of the build in $1: the files the
# desktop needs are there and validate, the installed programs find their data from a prefix
# the desktop does not search and write only into the user's folders, and the package is one
# a distribution would take.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
expected=(
  bin/velmora bin/velmora-cli
  share/applications/velmora.desktop share/applications/velmora-play.desktop
  share/metainfo/example.velmora.Velmora.metainfo.xml
  share/velmora/TIPOFDAY.DAT share/velmora/Skins/cloud_skin.jpg share/velmora/Skins/midnight_skin.jpg
  share/velmora/Skins/brushed_skin.jpg share/velmora/demo/demo.disc
  share/doc/velmora/velmora.html share/doc/velmora/COPYING share/doc/velmora/copyright
  share/doc/velmora/changelog.Debian.gz lib/velmora/velmora-http.so
)
for size in 16 22 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/velmora.png"); done
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "the install lacks $f"; done
# Nothing of the build tree (tests, benchmarks, the demo image) goes along.
[ "$(ls "$prefix/bin" "$prefix/share/velmora/demo")" = "$(printf '%s/bin:\nvelmora\nvelmora-cli\n\n%s/share/velmora/demo:\ndemo.disc' "$prefix" "$prefix")" ] ||
  fail "unexpected files: $(ls "$prefix/bin" "$prefix/share/velmora/demo")"
for size in 16 48 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/velmora.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size} px icon is not a ${size} px picture"
done

# Two entries: the menu's opens the player, the hidden audio-CD handler plays.
apps=$prefix/share/applications
desktop-file-validate "$apps/velmora.desktop" "$apps/velmora-play.desktop"
[ "$(grep -E '^(Exec|NoDisplay|MimeType)=' "$apps/velmora.desktop")" = "Exec=$prefix/bin/velmora" ] ||
  fail "menu entry: $(cat "$apps/velmora.desktop")"
[ "$(grep -E '^(Exec|NoDisplay|MimeType)=' "$apps/velmora-play.desktop")" = \
  "$(printf 'Exec=%s play\nNoDisplay=true\nMimeType=x-content/audio-cdda;' "$prefix/bin/velmora")" ] ||
  fail "handler: $(cat "$apps/velmora-play.desktop")"
appstreamcli validate --no-net "$prefix/share/metainfo/example.velmora.Velmora.metainfo.xml" >/dev/null ||
  fail "$(appstreamcli validate --no-net "$prefix/share/metainfo/example.velmora.Velmora.metainfo.xml")"

# The installed programs, with no data beside them and the prefix in no XDG folder, find
# the data in <prefix>/share/velmora, write the demo image into the user's cache folder and
# the disc database into the user's data folder, and nothing under the prefix, whoever runs them.
export XDG_DATA_DIRS=$work/none XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
export XDG_CACHE_HOME=$work/home/cache XDG_RUNTIME_DIR=$work/home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset VELMORA_HOME VELMORA_DRIVE VELMORA_MCI_LOG
touch "$work/stamp"
sleep 1
id=$(cd "$work" && "$prefix/bin/velmora-cli" discid) || fail "the installed velmora-cli found no demo disc"
built=$(VELMORA_HOME=$build/bin "$build/bin/velmora-cli" discid)
[ "$id" = "$built" ] || fail "the demo disc read as \"$id\", the build's as \"$built\""
[ -s "$XDG_CACHE_HOME/velmora/demo/demo.bin" ] || fail "the demo image is not in the user's cache folder"
info=$(cd "$work" && "$prefix/bin/velmora-cli" info) || fail "velmora-cli info failed"
grep -q "Title=Twelve Tone Studies" <<<"$info" || fail "info shows: $info"  # the demo disc's own CD-Text
[ -s "$XDG_DATA_HOME/velmora/Velmora.ini" ] || fail "the disc database is not in the user's data folder"
# A lookup loads the network module from the install (the server here refuses, exit 4).
lookup_err=$(cd "$work" && "$prefix/bin/velmora-cli" lookup --source cddb --server 127.0.0.1:9/cddb.cgi 2>&1 >/dev/null) && fail "a refused lookup succeeded"
! grep -q "network module" <<<"$lookup_err" || fail "the installed velmora-cli cannot load its network module: $lookup_err"
# The player itself, already the desktop's player for audio CDs so no question holds it up:
# it opens the demo disc and reads its skin and tips from the prefix.
mkdir -p "$XDG_CONFIG_HOME"
printf '[Default Applications]\nx-content/audio-cdda=velmora-play.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
(cd "$work" && XDG_DATA_DIRS=$prefix/share VELMORA_MCI_LOG=$work/mci.log VELMORA_MPRIS=0 timeout 5 \
  strace -f -e trace=openat -o "$work/opened.log" "$prefix/bin/velmora" >/dev/null 2>&1) || true
grep -qx $'status cd number of tracks wait\t0' "$work/mci.log" || fail "the installed player found no disc"
for f in Skins/cloud_skin.jpg TIPOFDAY.DAT; do
  grep "$prefix/share/velmora/$f" "$work/opened.log" | grep -qv ENOENT || fail "the installed player did not read $f"
done
written=$(find "$prefix" -newer "$work/stamp")
[ -z "$written" ] || fail "the installed programs wrote under the prefix: $written"
# The desktop finds the installed handler for audio CDs, and the player takes it for itself.
[ "$(XDG_DATA_DIRS=$prefix/share XDG_CONFIG_HOME=$work/none xdg-mime query default x-content/audio-cdda)" = \
  velmora-play.desktop ] || fail "xdg-mime does not find the installed handler"

# The package holds the same files under /usr, stripped, with a copyright file and the
# packaging changelog, and installs in under 15 MB; its debug information is a package apart.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/velmora_*.deb)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in "${expected[@]}"; do grep -qx "./usr/$f" <<<"$contents" || fail "the package lacks /usr/$f"; done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6.*qt6-qpa-plugins\|qt6-qpa-plugins.*libqt6widgets6' || fail "the package does not depend on Qt: $(dpkg-deb -f "$deb" Depends)"
size=$(dpkg-deb -f "$deb" Installed-Size)
# A sanitizer build's programs are several times larger: the limit is the plain build's.
[ -n "${VELMORA_INSTRUMENTED:-}" ] || [ "$size" -lt 15360 ] || fail "the package installs $size KiB"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || fail "a one-line description"
ls "$work"/package/velmora-dbgsym_*.ddeb >/dev/null 2>&1 || fail "no debug symbols package"
dpkg-deb -x "$deb" "$work/unpacked"
file "$work"/unpacked/usr/{bin/velmora,bin/velmora-cli,lib/velmora/velmora-http.so} | grep -v ', stripped' && fail "unstripped"
if command -v lintian >/dev/null; then
  errors=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep '^E:' || true)
  [ -z "$errors" ] || fail "lintian: $errors"
fi
echo "install and package: ${#expected[@]} files, $(du -k "$deb" | cut -f1) KiB package, $size KiB installed"
