#!/usr/bin/env bash
# Every text of the window has a finished translation in every language:
# each translations/daro_LANG.ts is what lupdate makes of the sources today
# (a text added to the window and not to the .ts shows here), and lrelease
# finds nothing unfinished or untranslated in it.
#
#   DARO_LUPDATE=... DARO_LRELEASE=... translations.sh SOURCE_DIR
set -euo pipefail
: "${DARO_LUPDATE:?}" "${DARO_LRELEASE:?}"
root="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
count=0
for ts in "$root"/translations/daro_*.ts; do
  name="$(basename "$ts")"
  copy="$work/$name"
  cp "$ts" "$copy"
  "$DARO_LUPDATE" -silent -locations none -no-obsolete "$root/src/qt" "$root/resources/art" -ts "$copy"
  if ! cmp -s "$ts" "$copy"; then
    echo "$name does not hold the texts of the sources (run: cmake --build build --target daro_lupdate):"
    diff "$ts" "$copy" | head -n 40
    status=1
  fi
  report="$("$DARO_LRELEASE" "$copy" -qm "$work/${name%.ts}.qm" 2>&1)"
  echo "$report"
  if ! grep -Eq '\(([0-9]+) finished and 0 unfinished\)' <<<"$report"; then
    echo "$name has unfinished translations"
    status=1
  fi
  if grep -Eqi 'untranslated|ignored' <<<"$report"; then
    echo "$name leaves texts untranslated"
    status=1
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no translations found"; exit 1; }
exit "$status"
