#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for a bounded time from its seeds in tests/fuzz/corpus/<target>/.
#
#   tools/run-fuzzers.sh [SECONDS_EACH]     (default 60)
#
# VELMORA_FUZZ_BUILD names the build folder (default build-fuzz); VELMORA_FUZZ_TARGETS, a
# list of target names without the fuzz_ prefix, runs only those. Prints executions per
# second and total runs of each; when a target crashes, prints its reproducer (path,
# size and bytes) and the end of its log, and the script fails once every target has run.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
case "$seconds" in ''|*[!0-9]*) echo "usage: $0 [SECONDS_EACH]" >&2; exit 2 ;; esac
build=${VELMORA_FUZZ_BUILD:-build-fuzz}
jobs=${VELMORA_JOBS:-2}
targets=${VELMORA_FUZZ_TARGETS:-"mci_commands profile_section cddb_record musicbrainz_release image_check disc_file tips_file settings_file desktop_files cd_text editor_section"}

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_FUZZ=ON -DVELMORA_WERROR=ON -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null || exit 1
fi
nice cmake --build "$build" -j "$jobs" --target velmora_fuzzers || exit 1

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=()
printf '%-18s %10s %12s %8s %s\n' target exec/s runs seconds result
for t in $targets; do
  exe="$build/bin/fuzz_$t"
  seeds="tests/fuzz/corpus/$t"
  [ -x "$exe" ] || { echo "no fuzzer $exe" >&2; failed+=("$t"); continue; }
  # New inputs go to a scratch corpus: the seeds in the tree stay as committed.
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  log="$work/$t/log"
  start=$(date +%s)
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" "$seeds" >"$log" 2>&1 </dev/null
  status=$?
  elapsed=$(( $(date +%s) - start ))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  if [ $status -eq 0 ]; then
    printf '%-18s %10s %12s %8s %s\n' "$t" "${speed:-?}" "${runs:-?}" "$elapsed" ok
    continue
  fi
  printf '%-18s %10s %12s %8s %s\n' "$t" "${speed:-?}" "${runs:-?}" "$elapsed" "FAILED ($status)"
  failed+=("$t")
  echo "---- fuzz_$t: end of its log" >&2
  tail -n 60 "$log" >&2
  for crash in "$work/$t/artifacts/"*; do
    [ -f "$crash" ] || continue
    echo "---- fuzz_$t reproducer $(basename "$crash") ($(stat -c %s "$crash") bytes); rerun with: $exe FILE" >&2
    echo "base64:" >&2
    base64 -w 76 "$crash" | head -n 200 >&2
    od -A d -c "$crash" | head -n 40 >&2
  done
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzers that failed: ${failed[*]}" >&2
  exit 1
fi
