#!/usr/bin/env bash
# The run directory a build stages holds exactly the language files of the
# source tree, also after one is removed from a tree that was built before.
#   staged_locale_test.sh <source dir> <cmake>
set -u
source_dir="$1"
cmake="$2"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Only what configuring the programs needs; neither tests nor benchmarks.
mkdir "$scratch/src"
cp -r "$source_dir"/{CMakeLists.txt,cmake,src,examples,dist,locale} "$scratch/src/"
"$cmake" -S "$scratch/src" -B "$scratch/build" -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF >/dev/null &&
  "$cmake" --build "$scratch/build" --target stage_data >/dev/null || { echo "FAIL: the first build did not stage"; exit 1; }
rm "$scratch/src/locale/nl_NL.lang"
"$cmake" --build "$scratch/build" --target stage_data >/dev/null || { echo "FAIL: the second build failed"; exit 1; }

want=$(ls "$scratch/src/locale")
got=$(ls "$scratch/build/locale")
[ "$got" = "$want" ] || { echo "FAIL: staged"; echo "$got"; echo "instead of"; echo "$want"; exit 1; }
echo "build/locale holds what locale/ holds after a file was removed"
