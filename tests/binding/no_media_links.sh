#!/usr/bin/env bash
# No executable of the build may link a media library: they are bound at run time.
set -u
build="$1"
status=0
checked=0
while IFS= read -r exe; do
  checked=$((checked + 1))
  if ldd "$exe" | grep -E 'lib(SDL|GL|GLU|EGL|freetype)[.-]'; then
    echo "$exe links a media library"
    status=1
  fi
done < <(find "$build" -maxdepth 2 -type f -executable -not -name '*.so*' -not -path '*/CMakeFiles/*' \
         -exec sh -c '[ "$(head -c 4 "$1" | od -An -c | tr -d " ")" = "177ELF" ]' _ {} \; -print)
echo "checked $checked executables"
[ "$checked" -gt 0 ] || status=1
exit $status
