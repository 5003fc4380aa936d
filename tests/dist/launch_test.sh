#!/usr/bin/env bash
# The installed launcher, started from another working directory, opens the
# game's window; Escape ends the game with status 0 and nothing on stderr.
#   launch_test.sh <installed prefix> <tandrel-xdrive>
set -u
prefix="$1"
xdrive="$2"
source "$(dirname "$0")/../fixtures/xplay/escape_run.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

escape_run "$xdrive" Tandrel "$scratch" env -u LC_ALL -u LC_MESSAGES LANG=C "$prefix/games/tandrel" || exit 1
echo "the installed game opened its window and ended with status 0"
