#!/usr/bin/env bash
# kiv installed into a temporary prefix runs from anywhere and takes its
# data from <prefix>/share/kiv, not from the source tree it was built from.
# Usage: install_e2e.sh path/to/build-dir
set -uo pipefail

build=${1:?usage: install_e2e.sh path/to/build-dir}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
failures=0
check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1
check "cmake --install succeeds" test $? -eq 0
check "the program is in bin" test -x "$prefix/bin/kiv"
check "the data is in share/kiv" test -f "$prefix/share/kiv/System/kivoptions.misc.txt"

# A marker only the installed copy has: a new options directory is filled
# from the installation's System folder.
echo "marker" >"$prefix/share/kiv/System/kivoptions.marker.txt"
printf 'one\n' >"$tmp/a.txt"
(cd / && env -u KIVORW -u KIVCMDPREFIX XDG_CONFIG_HOME="$tmp/config" \
  "$prefix/bin/kiv" --batch "$tmp/a.txt" /S "insertline 1 two;save;end") 2>"$tmp/err"
check "the installed kiv exits 0" test $? -eq 0
check "the options directory was filled from the installation" \
  test -f "$tmp/config/kiv/kivoptions.marker.txt"
check "the edit was saved" cmp -s "$tmp/a.txt" <(printf 'one\ntwo\n')

((failures == 0)) || { cat "$tmp/err" "$tmp/install.log"; exit 1; }
