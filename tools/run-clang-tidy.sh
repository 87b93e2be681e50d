#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over every .cpp under src/ with the compile
# commands of a build, two files at a time, and prints each finding once.
#
#   tools/run-clang-tidy.sh BUILD_DIR
#
# The build must have run first: its moc and autogen files are part of the sources. The
# compiler's warnings count as findings, not as errors, and GCC-only warning flags pass.
# VELMORA_JOBS sets how many files run at once (default 2). Exits 1 on any finding.
set -uo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || { echo "run-clang-tidy: no folder $1" >&2; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "run-clang-tidy: no $1/compile_commands.json" >&2; exit 2; }
jobs=${VELMORA_JOBS:-2}
tidy=${CLANG_TIDY:-clang-tidy}
command -v "$tidy" >/dev/null || { echo "run-clang-tidy: $tidy not found (tools/install-deps.sh)" >&2; exit 2; }

mapfile -t sources < <(find src -name '*.cpp' | sort)
# A file the build does not compile would go unchecked.
unbuilt=()
for f in "${sources[@]}"; do
  grep -qF "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" || unbuilt+=("$f")
done
if [ ${#unbuilt[@]} -gt 0 ]; then
  printf 'run-clang-tidy: not in the compile commands: %s\n' "${unbuilt[@]}" >&2
  exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-tidy.XXXXXX")
trap 'rm -rf "$work"' EXIT
export tidy build work
# One log per file; a file clang-tidy could not check leaves its errors there too.
printf '%s\n' "${sources[@]}" | xargs -P "$jobs" -I{} sh -c '
  log="$work/$(echo "{}" | tr / _).log"
  "$tidy" -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-error "{}" >"$log" 2>"$log.err" || { cat "$log.err" >>"$log"; echo "{}: clang-tidy failed" >>"$log"; }
'

# A header's findings come once per file that includes it, and under the build's link to
# it: name it by its place in src/ and print each diagnostic (with its notes) once.
cat "$work"/*.log | sed -E "s#^$build/include/[^/]+/#$PWD/src/#; s#^$PWD/##" | awk '
  /^[^ ].*:[0-9]+:[0-9]+: (warning|error):/ || /: clang-tidy failed$/ { flush(); key = $0 }
  { block = block $0 "\n" }
  function flush() { if (key != "" && !(key in seen)) { seen[key] = 1; printf "%s", block; n++ } block = ""; key = "" }
  END { flush(); if (n) { printf "\n%d finding(s)\n", n; exit 1 } }
' && echo "clang-tidy: no findings in ${#sources[@]} files"
