#!/usr/bin/env bash
# Which folder of src/ may include which: each layer sees only the layers below it, and a
# window never sees the player or another subsystem's window. Prints every include that
# crosses the line the wrong way and fails if there is one.
#
#   tests/layering/include_layering.sh [SRC_DIR]
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/../../src" && pwd)}

# The folder a path belongs to: "X/ui" for windows, the platform's widgets apart, the
# application whole, otherwise the top folder.
unit_of() {
  case "$1" in
    app/*) echo app ;;
    platform/ui/*) echo platform/ui ;;
    platform/*) echo platform ;;
    */ui/*) echo "${1%%/ui/*}/ui" ;;
    *) echo "${1%%/*}" ;;
  esac
}

declare -A allowed=(
  [shared]="shared"
  [platform]="shared platform"
  [platform/ui]="shared platform platform/ui"
  [discdb]="shared platform discdb"
  [mixer]="shared platform mixer"
  [settings]="shared platform settings"
  [chrome]="shared platform platform/ui chrome"
  [player]="shared platform discdb player"
  [cddb]="shared platform discdb cddb"
  [dialogs]="shared platform dialogs"
  [discdb/ui]="shared platform platform/ui discdb chrome discdb/ui"
  [cddb/ui]="shared platform platform/ui discdb cddb chrome cddb/ui"
  [settings/ui]="shared platform platform/ui settings cddb chrome settings/ui"
  [dialogs/ui]="shared platform platform/ui settings cddb dialogs chrome dialogs/ui"
  [app]="*"
)

failures=0
cd "$src"
while IFS= read -r file; do
  from=$(unit_of "$file")
  if [ -z "${allowed[$from]+x}" ]; then
    echo "$file: folder \"$from\" has no place in the layering"
    failures=$((failures + 1))
    continue
  fi
  [ "${allowed[$from]}" = "*" ] && continue
  while IFS= read -r included; do
    to=$(unit_of "$included")
    case " ${allowed[$from]} " in
      *" $to "*) ;;
      *) echo "$file includes \"$included\": $from may not use $to"; failures=$((failures + 1)) ;;
    esac
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

[ "$failures" -eq 0 ] && echo "include layering: clean"
[ "$failures" -eq 0 ]
