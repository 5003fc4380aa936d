#!/bin/sh
# Starts Tandrel from its data directory: the game reads its font and its
# language files relative to the working directory. Paths are taken relative
# to this script's own location (links followed), so the installed tree works
# under any prefix and from a staging directory alike.
here=$(dirname "$(readlink -f "$0")")
cd "$here/../share/games/tandrel" || exit 1
exec "$here/../lib/games/tandrel/tandrel" "$@"
