#!/usr/bin/env bash
# tandrel-glinfo in the private display: exits 0 without waiting for input,
# says nothing on stderr, and prints its reports, each list as long as its count.
set -u
exe="$1"
# Without a display SDL falls back to a text-mode driver and fails in its own words.
[ -n "${DISPLAY:-}" ] || { echo "FAIL: display tests need DISPLAY (scripts/test starts a private Xvfb)"; exit 1; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
fail() { echo "FAIL: $*"; cat "$out" | head -40; cat "$err"; exit 1; }

timeout 60 "$exe" >"$out" 2>"$err"
status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
[ -s "$err" ] && fail "stderr is not empty"

grep -Eq '^GL_VERSION: [0-9]+\.[0-9]' "$out" || fail "no GL_VERSION line"
grep -Eq '^GL_RENDERER: .' "$out" || fail "no GL_RENDERER line"
grep -Eq '^Loaded version: OpenGL Version (1\.[1-5]|2\.[01])$' "$out" || fail "no loaded version"
grep -Eq '^Bound functions: OpenGL [1-9][0-9]*, GLU [1-9][0-9]*, SDL [1-9][0-9]*, FreeType [1-9][0-9]*$' "$out" \
  || fail "no counts of bound functions"

# The lines under "<title> (<count>):" up to the next title.
section() { awk -v t="$1" 'index($0, t " (") == 1 { on = 1; next } / \([0-9]+\):$/ { on = 0 } on' "$out"; }
count() { sed -n "s/^$1 (\([0-9]*\)):$/\1/p" "$out"; }
loaded=$(section "Loaded extensions")
others=$(section "Extensions not loaded")
[ "$(printf '%s\n' "$loaded" | grep -c .)" = "$(count 'Loaded extensions')" ] || fail "loaded count"
[ "$(printf '%s\n' "$others" | grep -c .)" = "$(count 'Extensions not loaded')" ] || fail "not-loaded count"
printf '%s\n' "$loaded" | grep -qx 'GL_ARB_multitexture' || fail "Mesa's GL_ARB_multitexture is not loaded"
printf '%s\n' "$others" | grep -vEq ' \((Unsupported by Driver|Failed to Load)\)$' && fail "a line without its reason"
printf '%s\n' "$loaded" | LC_ALL=C sort -C || fail "loaded names unsorted"
printf '%s\n' "$others" | LC_ALL=C sort -C || fail "not-loaded names unsorted"
echo "tandrel-glinfo: reports checked"
