#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test the player.
#
#   tools/install-deps.sh [fuzz] [tidy] [package]
#
# With "fuzz", also what the fuzz targets need (clang and its libFuzzer, GLib's key-file
# reader); with "tidy", clang-tidy for tools/run-clang-tidy.sh; with "package", lintian for
# the package's checks.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcdio-dev libcdio-paranoia-dev
  libasound2-dev libasound2-plugins alsa-utils
  pulseaudio pulseaudio-utils
  libdiscid-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev openssl
  xvfb xauth
  dbus playerctl libglib2.0-bin
  xdg-utils desktop-file-utils appstream dpkg-dev file strace
)
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang libfuzzer-14-dev libclang-rt-14-dev libglib2.0-dev) ;;
    tidy) packages+=(clang-tidy) ;;
    package) packages+=(lintian) ;;
    *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
