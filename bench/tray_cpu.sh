#!/usr/bin/env bash
# What the player costs hidden in the tray against shown: two players play the demo disc side
# by side through one private sound server, each on a virtual display with a tray host and on
# a session bus of its own where a media panel's client (playerctl) follows its status and
# metadata. One has its minimise button clicked and lives in the tray; the other stays shown.
# Each figure is the process's CPU time, all threads, over SECONDS as a share of one core.
#
#   bench/tray_cpu.sh [BUILD_DIR] [SECONDS]   (defaults: build, 30)
#
# Needs pulseaudio (tools/with-pulse.sh), dbus-daemon, xvfb-run, playerctl, trayer, xdotool and
# xwininfo (x11-utils).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = "--player" ]; then
  # Inside one display and bus: $2 the folder, $3 "hidden" or "shown".
  home=$2
  trayer --SetDockType true >/dev/null 2>&1 &
  helpers=($!)
  # The tray host and the panel's client end with the player.
  trap 'kill "${helpers[@]}" 2>/dev/null' EXIT
  sleep 1
  exe=$(readlink -f "$home/velmora")
  "$exe" play >/dev/null 2>&1 &
  player=$!
  # The face: the player's window of the face's size (chrome/face_layout.h: 460 x 161).
  window=""
  for _ in $(seq 1 100); do
    for w in $(xdotool search --pid "$player" --name '^Velmora$' 2>/dev/null); do
      xdotool getwindowgeometry "$w" | grep -q 'Geometry: 460x161' && window=$w
    done
    [ -n "$window" ] && break
    sleep 0.1
  done
  sleep 2
  if [ "$3" = hidden ]; then
    # The minimise button of the face (chrome/face_layout.h: 417, 7, 16 x 16).
    xdotool mousemove --window "$window" 425 15 click 1
    sleep 1
  fi
  # Whether the face is still on the screen.
  if xwininfo -id "$window" | grep -q 'Map State: IsViewable'; then
    echo "on the screen" >"$home/face"
  else
    echo "not on the screen" >"$home/face"
  fi
  playerctl -p velmora --follow metadata --format '{{status}} {{xesam:title}}' >"$home/follow.log" 2>&1 &
  helpers+=($!)
  echo "$player" >"$home/pid"
  wait "$player"
  exit 0
fi

build=$(cd "${1:-build}" && pwd) || exit 2
seconds=${2:-30}
if [ -z "${TRAY_CPU_INSIDE:-}" ]; then
  for need in dbus-run-session xvfb-run playerctl trayer xdotool xwininfo; do
    command -v "$need" >/dev/null || { echo "tray_cpu: $need is not installed" >&2; exit 2; }
  done
  TRAY_CPU_INSIDE=1 exec "$here/../tools/with-pulse.sh" --global "$0" "$build" "$seconds"
fi

work=$(mktemp -d)
# The players end first: their displays and buses go with them.
cleanup() {
  for label in shown hidden; do [ -s "$work/$label/pid" ] && kill "$(cat "$work/$label/pid")" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f\n", t }'; }

start() {  # label
  local home="$work/$1" exe
  exe=$(readlink -f "$build/bin/velmora")
  mkdir -p "$home/run" "$home/config" "$home/data/applications" && chmod 700 "$home/run"
  cp -r "$build/bin/Skins" "$build/bin/demo" "$home/"
  ln -s "$exe" "$home/velmora"
  printf '[Default Applications]\nx-content/audio-cdda=velmora-play.desktop\n' >"$home/config/mimeapps.list"
  printf '[Desktop Entry]\nType=Application\nName=Velmora\nExec=%s play\n' "$exe" \
    >"$home/data/applications/velmora-play.desktop"
  VELMORA_HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
    HOME="$home" dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" "$0" --player "$home" "$1" \
    >/dev/null 2>&1 &
  for _ in $(seq 1 200); do
    [ -s "$home/pid" ] && { cat "$home/pid"; return 0; }
    sleep 0.1
  done
  return 1
}

shown=$(start shown) || { echo "tray_cpu: the shown player did not start" >&2; exit 1; }
hidden=$(start hidden) || { echo "tray_cpu: the hidden player did not start" >&2; exit 1; }
sleep 3
a0=$(cpu_ns "$shown"); b0=$(cpu_ns "$hidden"); t0=$(date +%s%N)
sleep "$seconds"
a1=$(cpu_ns "$shown"); b1=$(cpu_ns "$hidden"); t1=$(date +%s%N)
awk -v a=$((a1 - a0)) -v b=$((b1 - b0)) -v t=$((t1 - t0)) 'BEGIN {
  printf "shown and playing:          %.3f %% of one core\n", 100 * a / t
  printf "hidden in the tray, playing: %.3f %% of one core\n", 100 * b / t }'
for label in shown hidden; do
  echo "$label ($(cat "$work/$label/face")): the panel's client saw $(wc -l <"$work/$label/follow.log") status" \
    "lines, last: $(tail -n1 "$work/$label/follow.log")"
done
