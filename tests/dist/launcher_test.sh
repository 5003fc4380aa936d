#!/usr/bin/env bash
# The installed launcher runs the game in its data directory whatever the
# caller's working directory, also when started through a link to it: a broken
# language file that only the data directory holds must be the error reported.
# A copy of it beside a stand-in program shows that it passes every argument
# unchanged.
#   launcher_test.sh <installed prefix>
set -u
prefix="$1"
data="$prefix/share/games/tandrel"
font="$data/data/fonts/clearsans/ClearSans-Bold.ttf"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch" "$data/locale/xx_XX.lang"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -L "$font" ] && [ -f "$font" ] || fail "$font is not a link to an existing font"
[ -x "$prefix/lib/games/tandrel/tandrel" ] || fail "no executable in lib/games/tandrel"

printf '"Score" "Punkte"\n' >"$data/locale/xx_XX.lang"
ln -s "$prefix/games/tandrel" "$scratch/linked"
expected="tandrel: locale/xx_XX.lang, line 1: Expected \`=' after the key"
for launcher in "$prefix/games/tandrel" "$scratch/linked"; do
  got=$(cd "$scratch" && env -u LC_ALL -u LC_MESSAGES LANG=xx_XX.UTF-8 "$launcher" 2>&1 >/dev/null)
  status=$?
  [ "$status" -eq 1 ] || fail "$launcher: exit status $status, expected 1"
  [ "$got" = "$expected" ] || fail "$launcher: printed '$got', expected '$expected'"
done
fake="$scratch/fake"
mkdir -p "$fake/games" "$fake/lib/games/tandrel" "$fake/share/games/tandrel"
cp "$prefix/games/tandrel" "$fake/games/"
printf '#!/bin/sh\nprintf "%%s|" "$PWD" "$@"\n' >"$fake/lib/games/tandrel/tandrel"
chmod +x "$fake/lib/games/tandrel/tandrel"
got=$(cd / && "$fake/games/tandrel" "two words" "" -x)
expected="$(readlink -f "$fake/share/games/tandrel")|two words||-x|"
[ "$got" = "$expected" ] || fail "stand-in saw '$got', expected '$expected'"

[ "$failures" -eq 0 ] && echo "the launcher starts the game in $data"
exit $((failures > 0))
