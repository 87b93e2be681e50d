#!/usr/bin/env bash
# Runs a command beside a private, headless PulseAudio server whose only sink is a null
# sink, so the paced playback test and the mixer bench have real sound output and a real
# master volume on a machine without a sound card. The server is stopped when the command
# ends, whatever its result.
#
#   tools/with-pulse.sh [--global] COMMAND [ARGS...]
#
# The command sees VELMORA_PULSE_SERVER (the server's address), VELMORA_PULSE_SINK (the
# sink the tests may change) and VELMORA_PULSE_LOCK (a file the tests lock so that suites
# running side by side take turns with the one sink). Only programs that look for these
# use the server; everything else keeps the machine's own sound. With --global the
# command also gets PULSE_SERVER, so that every program it starts (the player, say) plays
# and mixes through the private server.
#
# When no server can be started, the command still runs, without those variables, and
# the tests that need the server skip.
set -u

global=0
if [ "${1:-}" = "--global" ]; then
  global=1
  shift
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [--global] COMMAND [ARGS...]" >&2
  exit 2
fi

sink=velmora_null
dir=""
server_pid=""

cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    for _ in $(seq 1 50); do
      kill -0 "$server_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
  fi
  [ -n "$dir" ] && rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_server() {
  command -v pulseaudio >/dev/null 2>&1 || { echo "with-pulse: pulseaudio is not installed" >&2; return 1; }
  command -v pactl >/dev/null 2>&1 || { echo "with-pulse: pactl is not installed" >&2; return 1; }
  dir=$(mktemp -d "${TMPDIR:-/tmp}/velmora-pulse.XXXXXX") || return 1
  mkdir -p "$dir/runtime" "$dir/home"
  chmod 700 "$dir/runtime" "$dir/home"
  # Anonymous access on a socket of our own: clients need neither our HOME nor a cookie.
  XDG_RUNTIME_DIR="$dir/runtime" HOME="$dir/home" PULSE_STATE_PATH="$dir/home/state" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
      --log-target=file:"$dir/server.log" \
      -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
      -L "module-null-sink sink_name=$sink" \
      -L module-always-sink \
      </dev/null >/dev/null 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do
    if PULSE_SERVER="unix:$dir/native" PULSE_COOKIE="$dir/cookie" pactl info >/dev/null 2>&1; then
      return 0
    fi
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "with-pulse: the server did not answer; its log ends:" >&2
  tail -n 5 "$dir/server.log" >&2 2>/dev/null
  return 1
}

if start_server; then
  export VELMORA_PULSE_SERVER="unix:$dir/native"
  export VELMORA_PULSE_SINK="$sink"
  export VELMORA_PULSE_LOCK="$dir/lock"
  : >"$VELMORA_PULSE_LOCK"
  if [ "$global" -eq 1 ]; then
    export PULSE_SERVER="$VELMORA_PULSE_SERVER"
    export PULSE_COOKIE="$dir/cookie"
  fi
  PULSE_SERVER="$VELMORA_PULSE_SERVER" PULSE_COOKIE="$dir/cookie" \
    pactl set-default-sink "$sink" >/dev/null 2>&1
  echo "with-pulse: PulseAudio running on $VELMORA_PULSE_SERVER (sink $sink)" >&2
else
  echo "with-pulse: no PulseAudio server; tests that need it will skip" >&2
  cleanup
  server_pid=""
  dir=""
fi

"$@"
exit $?
