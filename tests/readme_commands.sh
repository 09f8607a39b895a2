#!/usr/bin/env bash
# Every command the README names (scripts/...) runs straight from a fresh
# clone. A clone gets the mode git recorded, not this working tree's, so the
# recorded mode is what counts; outside a git checkout, the file's own.
#
#   bash readme_commands.sh SOURCE_DIR
set -euo pipefail
cd "${1:?source folder}"
mapfile -t commands < <(grep -o 'scripts/[A-Za-z0-9_.-]*[A-Za-z0-9_]' README.md | sort -u)
[ "${#commands[@]}" -gt 0 ] || { echo "README.md names no command under scripts/" >&2; exit 1; }
in_git=0
git rev-parse --is-inside-work-tree >/dev/null 2>&1 && in_git=1
status=0
for command in "${commands[@]}"; do
  if [ "$in_git" -eq 1 ]; then
    mode="$(git ls-files -s -- "$command" | awk '{print $1}')"
    if [ -z "$mode" ]; then
      echo "$command: named in README.md but not in the repository" >&2
      status=1
    elif [ "$mode" != 100755 ]; then
      echo "$command: recorded without its run bit (mode $mode); a fresh clone cannot run it" >&2
      status=1
    fi
  elif [ ! -x "$command" ]; then
    echo "$command: not executable" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "executable: ${commands[*]}"
exit "$status"
