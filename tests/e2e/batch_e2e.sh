#!/usr/bin/env bash
# The real kiv binary in batch mode: files open as from the command line,
# commands run as typed, messages go to standard error, the exit status
# tells whether every file opened and every command was known, and the
# settings reach the options directory. Usage: batch_e2e.sh path/to/kiv
set -uo pipefail

kiv=${1:?usage: batch_e2e.sh path/to/kiv}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export KIVORW=$tmp/options
mkdir -p "$KIVORW"
failures=0
check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

printf 'one\ntwo\n' >"$tmp/a.txt"

"$kiv" --batch "$tmp/a.txt" /S "bnd 3 9;save;end" 2>"$tmp/err1"
check "a clean run exits 0" test $? -eq 0
check "SAVE of an unmodified file says so" grep -qx "File not modified, SAVE command ignored." "$tmp/err1"
check "BOUNDS was written to the profile" grep -qx "Bounds=3,9" "$KIVORW/kivfileprof.txt.txt"
check "the file is unchanged" cmp -s "$tmp/a.txt" <(printf 'one\ntwo\n')
check "the command history was written" grep -qx "bnd 3 9;save;end" "$KIVORW/KivPcmdHistory.txt"

"$kiv" --batch "$tmp/a.txt" /S "nosuchverb x;end" 2>"$tmp/err2"
check "an unknown verb exits 1" test $? -eq 1
check "the macro message names the source" grep -qx "XMAC10: Unable to find macro source file:  nosuchverb.c" "$tmp/err2"

mkdir "$tmp/dir.txt"
"$kiv" --batch "$tmp/dir.txt" 2>"$tmp/err3"
check "a directory given as a file exits 1" test $? -eq 1
check "the directory is reported on one line" grep -q "Can not open a directory as a file:" "$tmp/err3"

printf 'b %s\nswap\nend\n' "$tmp/a.txt" >"$tmp/script"
"$kiv" --batch --script "$tmp/script" 2>"$tmp/err4"
check "a script file runs its commands" grep -q "^SESSION20: SWAP only allowed" "$tmp/err4"

"$kiv" --batch /S 2>"$tmp/err5"
check "/S without commands is refused" test $? -eq 2

echo "$failures failed"
test "$failures" -eq 0
