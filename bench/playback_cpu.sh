#!/usr/bin/env bash
# What playing the demo disc costs, side by side in one run through one private sound
# server (a null sink): the floor (pacat handing the raw audio to the server), a general
# media player (mpv on the same raw audio), the engine alone (velmora-cli mci) and the
# whole player with its window on a virtual display, then the same player stopped.
# All run at once; each figure is the process's own CPU time (all its threads) over
# SECONDS as a share of one core, and its resident memory at the end.
#
#   bench/playback_cpu.sh [BUILD_DIR] [SECONDS] [OTHER_BUILD_DIR...]   (defaults: build, 20)
#
# Further build folders (say, a copy of an older build's bin/ in OLD/bin) add their own
# engine and player rows to the same run, for a before-and-after comparison.
#
# Needs pulseaudio and pactl (tools/with-pulse.sh), xvfb-run, and for their rows pacat
# and mpv; a missing program is named and its row skipped. Installs nothing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
builds=("$(cd "${1:-build}" && pwd)") || exit 2
seconds=${2:-20}
shift 2 2>/dev/null || shift $#
for extra in "$@"; do builds+=("$(cd "$extra" && pwd)") || exit 2; done
settle=${SETTLE:-5}

if [ -z "${PLAYBACK_CPU_INSIDE:-}" ]; then
  PLAYBACK_CPU_INSIDE=1 exec "$here/../tools/with-pulse.sh" --global "$0" "${builds[0]}" "$seconds" "${builds[@]:1}"
fi
if [ -z "${PULSE_SERVER:-}" ]; then
  echo "playback_cpu: no private sound server could be started (see above)" >&2
  exit 2
fi

for build in "${builds[@]}"; do
  for need in velmora velmora-cli demo/demo.cue; do
    [ -e "$build/bin/$need" ] || { echo "playback_cpu: $build/bin/$need is not built" >&2; exit 2; }
  done
done
bin="${builds[0]}/bin/demo/demo.bin"
[ -f "$bin" ] || { echo "playback_cpu: $bin is missing (build the velmora target)" >&2; exit 2; }
missing() { command -v "$1" >/dev/null 2>&1 || { echo "playback_cpu: $1 is not installed; $2" >&2; return 0; }; return 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${procs[@]}" "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Nanoseconds on a CPU of a process, all its threads (schedstat: finer than clock ticks,
# which at 100 Hz cannot tell 0.02 % from 0.05 % in 20 s).
cpu_ns() {
  [ -d "/proc/$1" ] || return 0
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { if (NR) printf "%.0f\n", t }'
}
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null; }

# A player's own home (skins, demo disc, settings, instance lock), so that players of
# different builds run side by side and share nothing.
player_home() {  # build, label
  local home="$work/$2"
  mkdir -p "$home/run" && chmod 700 "$home/run"
  cp -r "$1/bin/Skins" "$1/bin/demo" "$home/"
  echo "$home"
}

names=()
procs=()
add() { names+=("$1"); procs+=("$2"); pids+=("$2"); }

# The pid of the process a wrapper (xvfb-run, a pipeline) started, by its executable.
child_of() {
  local root=$1 exe=$2
  for _ in $(seq 1 50); do
    local p
    for p in $(pgrep -P "$root") $(pgrep -P "$root" | xargs -r -n1 pgrep -P); do
      [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = "$exe" ] && { echo "$p"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

start_player() {  # build, label, command line word
  local home exe
  home=$(player_home "$1" "$2")
  exe=$(readlink -f "$1/bin/velmora")
  # Already the desktop's player for audio CDs, so that no question holds up the start.
  mkdir -p "$home/config" "$home/data/applications"
  printf '[Default Applications]\nx-content/audio-cdda=velmora-bench.desktop\n' >"$home/config/mimeapps.list"
  printf '[Desktop Entry]\nType=Application\nName=Velmora\nExec=%s play\n' "$exe" \
    >"$home/data/applications/velmora-bench.desktop"
  VELMORA_HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
    HOME="$home" VELMORA_MPRIS=0 \
    xvfb-run -a -s "-screen 0 1024x768x24" "$1/bin/velmora" $3 >/dev/null 2>&1 &
  local wrapper=$!
  pids+=("$wrapper")
  child_of "$wrapper" "$(readlink -f "$1/bin/velmora")"
}

start_engine() {  # build, label
  local home
  home=$(player_home "$1" "$2")
  mkfifo "$home/cli.in"
  VELMORA_HOME="$home" HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    "$1/bin/velmora-cli" mci <"$home/cli.in" >"$home/cli.out" 2>&1 &
  local p=$!
  # Held open (and the engine playing) until the end of the run.
  exec {fd}>"$home/cli.in"
  fifos+=("$fd")
  printf 'open cdaudio alias cd wait shareable\nset cd time format tmsf wait\nplay cd\n' >&"$fd"
  echo "$p"
}

start_all() {
  if ! missing pacat "the floor row is skipped"; then
    pacat --playback --format=s16le --rate=44100 --channels=2 "$bin" >/dev/null 2>&1 &
    add "pacat, raw PCM to the server (floor)" $!
  fi
  if ! missing mpv "the mpv row and the ratios are skipped"; then
    mpv --no-config --no-terminal --no-video --ao=pulse --demuxer=rawaudio \
      --demuxer-rawaudio-format=s16le --demuxer-rawaudio-rate=44100 --demuxer-rawaudio-channels=2 \
      "$bin" >/dev/null 2>&1 &
    add "mpv, the same raw PCM" $!
  fi
  local have_x=1 i build tag p
  missing xvfb-run "the player rows are skipped" && have_x=0
  for i in "${!builds[@]}"; do
    build=${builds[$i]}
    tag=""
    [ "${#builds[@]}" -gt 1 ] && tag=" [${build#"$PWD"/}]"
    start_engine "$build" "cli$i" >"$work/pid" && add "velmora-cli mci (the engine)$tag" "$(cat "$work/pid")"
    if [ "$have_x" -eq 1 ]; then
      p=$(start_player "$build" "playing$i" play) && add "velmora play, window shown$tag" "$p"
      p=$(start_player "$build" "stopped$i" "") && add "velmora, window shown, stopped$tag" "$p"
    fi
  done
}

# One sample of every process: CPU over SECONDS, then resident memory.
measure() {
  sleep "$settle"
  local start=() t0 t1 i
  for i in "${!procs[@]}"; do start[$i]=$(cpu_ns "${procs[$i]}"); done
  t0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(date +%s.%N)
  for i in "${!procs[@]}"; do
    local end rss
    end=$(cpu_ns "${procs[$i]}")
    rss=$(rss_kib "${procs[$i]}")
    if [ -z "$end" ] || [ -z "${start[$i]}" ]; then
      printf '%s\t-\t-\n' "${names[$i]}"
      continue
    fi
    awk -v s="${start[$i]}" -v e="$end" -v a="$t0" -v b="$t1" -v rss="$rss" -v n="${names[$i]}" \
      'BEGIN { printf "%s\t%.3f\t%.1f\n", n, (e - s) / 1e9 / (b - a) * 100, rss / 1024 }'
  done
}

stop_all() {
  local fd
  for fd in "${fifos[@]}"; do exec {fd}>&-; done
  for p in "${procs[@]}" "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  fifos=() pids=() names=() procs=()
}

fifos=()
echo "Shared machine ($(nproc) cores, $(uptime | sed 's/.*load/load/')), $(date -u +%FT%TZ):" \
     "${seconds} s each, after ${settle} s of start-up, all at once"
start_all
measure >"$work/table.tsv"
for out in "$work"/cli*/cli.out; do
  grep -qv '^0' "$out" && echo "playback_cpu: an engine did not play: $(tr '\n' ' ' <"$out")" >&2
done
stop_all

mpv_cpu=$(awk -F'\t' '/^mpv/ {print $2}' "$work/table.tsv")
printf '\n| process | CPU of one core | resident | CPU / mpv |\n|---|---|---|---|\n'
awk -F'\t' -v m="${mpv_cpu:-}" '{
  ratio = (m != "" && m + 0 > 0 && $2 != "-") ? sprintf("%.2f", $2 / m) : "-"
  printf "| %s | %s %% | %s MiB | %s |\n", $1, $2, $3, ratio
}' "$work/table.tsv"
