#!/usr/bin/env bash
# The installed kit holds the interface alone, and every installed header
# compiles on its own with nothing but the installed tree and tandrel.pc's
# flags: none includes a file that was not installed.
#   kit_headers_test.sh <kit prefix> <library directory> <C++ compiler>
set -u
prefix="$1"
cxx="$3"
export PKG_CONFIG_PATH="$prefix/$2/pkgconfig"
flags=$(pkg-config --cflags tandrel) || exit 1
cd "$prefix/include/tandrel" || exit 1
layers=$(echo *)
[ "$layers" = "binding framework support" ] || { echo "FAIL: include/tandrel holds $layers"; exit 1; }
mapfile -t headers < <(find . -name '*.hpp' | sed 's|^\./||' | sort)
failures=0
for header in "${headers[@]}"; do
  # shellcheck disable=SC2086 # the flags are separate words
  echo "#include <tandrel/$header>" | "$cxx" -std=c++20 -Wall -Wextra -Wpedantic -Werror -fsyntax-only $flags -x c++ - ||
    { echo "FAIL: $header"; failures=$((failures + 1)); }
done
echo "${#headers[@]} headers, $failures failing"
exit $((failures > 0))
