#!/usr/bin/env bash
# The installed launcher, started from another working directory, opens the
# game's window; Escape ends the game with status 0 and nothing on stderr.
#   launch_test.sh <installed prefix> <tandrel-xdrive>
set -u
prefix="$1"
xdrive="$2"
scratch=$(mktemp -d)
game=""
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$scratch"' EXIT

(cd "$scratch" && exec env -u LC_ALL -u LC_MESSAGES LANG=C "$prefix/games/tandrel" >/dev/null 2>"$scratch/err") &
game=$!
"$xdrive" -w 500 Tandrel Escape || { echo "FAIL: no window; stderr: $(cat "$scratch/err")"; exit 1; }
wait "$game"
status=$?
game=""
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status; stderr: $(cat "$scratch/err")"; exit 1; }
[ ! -s "$scratch/err" ] || { echo "FAIL: stderr: $(cat "$scratch/err")"; exit 1; }
echo "the installed game opened its window and ended with status 0"
