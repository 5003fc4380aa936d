#!/usr/bin/env bash
# The version that CMakeLists.txt defines is the newest release of the Debian
# changelog, the AppStream metadata and the manual page.
#   version_test.sh <project version> <source directory>
set -u
version="$1"
root="$2"
failures=0
check() {
  [ "$2" = "$version" ] || { echo "FAIL: $1 says '$2', CMakeLists.txt $version"; failures=$((failures + 1)); }
}
check debian/changelog "$(sed -n '1s/^tandrel (\([^)]*\)).*/\1/p' "$root/debian/changelog")"
check "the metainfo's newest release" \
  "$(grep -m1 -o '<release version="[^"]*"' "$root/dist/io.github.tandrel.Tandrel.metainfo.xml" | cut -d'"' -f2)"
check tandrel.6 "$(sed -n 's/^\.TH .*"Tandrel \([^"]*\)".*/\1/p' "$root/dist/tandrel.6")"
[ "$failures" -eq 0 ] && echo "every file gives version $version"
exit $((failures > 0))
