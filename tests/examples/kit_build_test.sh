#!/usr/bin/env bash
# An example built outside the tree against the installed kit, with the
# snippet docs/framework.md gives, then run as a person runs it: its window
# opens and Escape ends it with status 0.
#   kit_build_test.sh cmake <kit prefix> <library directory> <tandrel-xdrive> <run directory>
#     builds examples/viewer with find_package and CMAKE_PREFIX_PATH
#   kit_build_test.sh pkg-config <kit prefix> <library directory> <tandrel-xdrive> <run directory>
#     builds examples/shell with the guide's pkg-config line
set -u
how="$1"
prefix="$2"
libdir="$3"
xdrive="$4"
run_dir="$5"
root=$(cd "$(dirname "$0")/../.." && pwd)
guide="$root/docs/framework.md"
source "$root/tests/fixtures/xplay/escape_run.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case "$how" in
cmake)
  # The guide's CMakeLists.txt is the viewer's.
  diff <(sed -n '/^```cmake$/,/^```$/{//!p}' "$guide") "$root/examples/viewer/CMakeLists.txt" ||
    { echo "FAIL: the guide's CMakeLists.txt is not examples/viewer's"; exit 1; }
  cmake -S "$root/examples/viewer" -B "$work" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null &&
    cmake --build "$work" >/dev/null || exit 1
  title="Tandrel viewer" program="$work/tandrel-viewer"
  ;;
pkg-config)
  line=$(grep -m1 '^g++ -std=c++20 ' "$guide") || { echo "FAIL: the guide has no g++ line"; exit 1; }
  cp "$root/examples/shell/main.cpp" "$work/"
  (cd "$work" && export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" && eval "$line") || exit 1
  title="Tandrel shell" program="$work/tandrel-shell"
  ;;
*)
  echo "usage: kit_build_test.sh cmake|pkg-config ..." >&2
  exit 2
  ;;
esac
escape_run "$xdrive" "$title" "$run_dir" "$program" || exit 1
echo "$title, built with $how against the installed kit, ended with status 0"
