#!/usr/bin/env bash
# CPU use and resident memory of the player over a stretch of playing: the window shown
# on a virtual display, the disc in the drive playing from start-up ("play").
# Usage: bench/player_cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cp -r "$build/bin/Skins" "$build/bin/demo" "$home/"

export VELMORA_HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Already the desktop's player for audio CDs, so that no question holds up the start.
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
printf '[Default Applications]\nx-content/audio-cdda=velmora-bench.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Velmora\nExec=%s play\n' "$(readlink -f "$build/bin/velmora")" \
  >"$XDG_DATA_HOME/applications/velmora-bench.desktop"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "'"$build"'/bin/velmora" play &
  pid=$!
  sleep 5                                  # start-up done
  ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
  start=$(ticks); t0=$(date +%s.%N)
  sleep '"$seconds"'
  end=$(ticks); t1=$(date +%s.%N)
  hz=$(getconf CLK_TCK)
  rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)
  kill $pid
  awk -v s="$start" -v e="$end" -v a="$t0" -v b="$t1" -v hz="$hz" -v rss="$rss" \
    "BEGIN { printf \"cpu %.3f%% of one core over %.0f s, resident %.1f MiB\n\", (e-s)/hz/(b-a)*100, b-a, rss/1024 }"
'
