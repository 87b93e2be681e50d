#!/usr/bin/env bash
# What the desktop's media bus service costs: the player playing the demo disc twice side
# by side in one run, through one private sound server and one private session bus, once
# with its MPRIS2 service and once without. A media panel's client (playerctl following the
# player's status and metadata) listens to the first. Each figure is the process's CPU
# time, all threads, over SECONDS as a share of one core.
#
#   bench/mpris_cpu.sh [BUILD_DIR] [SECONDS]   (defaults: build, 30)
#
# Needs pulseaudio (tools/with-pulse.sh), dbus-daemon, xvfb-run and playerctl.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd) || exit 2
seconds=${2:-30}
if [ -z "${MPRIS_CPU_INSIDE:-}" ]; then
  for need in dbus-run-session xvfb-run playerctl; do
    command -v "$need" >/dev/null || { echo "mpris_cpu: $need is not installed" >&2; exit 2; }
  done
  MPRIS_CPU_INSIDE=1 exec "$here/../tools/with-pulse.sh" --global dbus-run-session -- "$0" "$build" "$seconds"
fi

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f\n", t }'; }

start() {  # label, VELMORA_MPRIS value
  local home="$work/$1" exe
  exe=$(readlink -f "$build/bin/velmora")
  mkdir -p "$home/run" "$home/config" "$home/data/applications" && chmod 700 "$home/run"
  cp -r "$build/bin/Skins" "$build/bin/demo" "$home/"
  printf '[Default Applications]\nx-content/audio-cdda=velmora.desktop\n' >"$home/config/mimeapps.list"
  printf '[Desktop Entry]\nType=Application\nName=Velmora\nExec=%s play\n' "$exe" >"$home/data/applications/velmora.desktop"
  VELMORA_HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
    HOME="$home" VELMORA_MPRIS=$2 xvfb-run -a -s "-screen 0 1024x768x24" "$exe" play >/dev/null 2>&1 &
  pids+=($!)
  local wrapper=$!
  for _ in $(seq 1 100); do
    for p in $(pgrep -P "$wrapper") $(pgrep -P "$wrapper" | xargs -r -n1 pgrep -P); do
      [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = "$exe" ] && { echo "$p"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

with=$(start with 1) || { echo "mpris_cpu: the player did not start" >&2; exit 1; }
without=$(start without 0) || { echo "mpris_cpu: the player did not start" >&2; exit 1; }
sleep 5
playerctl -p velmora --follow metadata --format '{{status}} {{xesam:title}}' >"$work/follow.log" 2>&1 &
pids+=($!)
sleep 2
a0=$(cpu_ns "$with"); b0=$(cpu_ns "$without"); t0=$(date +%s%N)
sleep "$seconds"
a1=$(cpu_ns "$with"); b1=$(cpu_ns "$without"); t1=$(date +%s%N)
status=$(playerctl -p velmora status 2>&1)
awk -v a=$((a1 - a0)) -v b=$((b1 - b0)) -v t=$((t1 - t0)) -v s="$status" 'BEGIN {
  printf "player with MPRIS2:    %.3f %% of one core (the bus says: %s)\n", 100 * a / t, s
  printf "player without MPRIS2: %.3f %% of one core\n", 100 * b / t
  printf "the service adds:      %.3f %% of one core\n", 100 * (a - b) / t }'
echo "metadata lines the panel's client saw: $(wc -l <"$work/follow.log")"
