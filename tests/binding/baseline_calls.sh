#!/usr/bin/env bash
# Every FreeType, SDL, GLU and SQLite entry point that the program and its
# examples call must be one its list binds as must-exist: a call to one newer
# than the baseline release (an optional slot) would crash where that release
# runs.
set -u
root="$1"
status=0
checked=0
while IFS=. read -r table name; do
  case $table in
    ft) list=src/binding/freetype/ft_functions.inc macro=TANDREL_FT ;;
    sdl) list=src/binding/sdl/sdl_functions.inc macro=TANDREL_SDL ;;
    glu) list=src/binding/opengl/glu_functions.inc macro=TANDREL_GLU ;;
    sqlite) list=src/game/memory/sqlite_functions.inc macro=TANDREL_SQLITE ;;
  esac
  checked=$((checked + 1))
  if ! grep -qx "$macro($name, true)" "$root/$list"; then
    echo "$name is called but is not within the baseline of $list"
    status=1
  fi
done < <(grep -rhoE '\b(ft\.FTC?_|sdl\.SDL_|glu\.glu|sqlite\.sqlite3_)[A-Za-z0-9_]*' "$root/src" "$root/examples" | sort -u)
echo "checked $checked entry points"
[ "$checked" -gt 0 ] || status=1
exit $status
