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
unset KIVCMDPREFIX
mkdir -p "$KIVORW"
failures=0
check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

printf 'one\ntwo\n' >"$tmp/a.txt"

"$kiv" --batch "$tmp/a.txt" /S "bnd 3 9;save;save b.txt;end" 2>"$tmp/err1"
check "a clean run exits 0" test $? -eq 0
check "SAVE of an unmodified file says so" grep -qx "FILE91: File not modified, SAVE command ignored." "$tmp/err1"
check "SAVE with a parameter is refused" grep -qx "EPCMD90: SAVE does not take parameters. Use SAVEAS to save under new name." "$tmp/err1"
check "BOUNDS was written to the profile" grep -qx "Bounds=3,9" "$KIVORW/kivfileprof.txt.txt"
check "the file is unchanged" cmp -s "$tmp/a.txt" <(printf 'one\ntwo\n')
check "the command history was written" grep -qx "bnd 3 9;save;save b.txt;end" "$KIVORW/KivPcmdHistory.txt"

"$kiv" --batch "$tmp/a.txt" /S "nosuchverb x;end" 2>"$tmp/err2"
check "an unknown verb exits 1" test $? -eq 1
check "the macro message names the source" grep -qx "XMAC10: Unable to find macro source file:  nosuchverb.c" "$tmp/err2"

mkdir "$tmp/dir.txt"
"$kiv" --batch "$tmp/dir.txt" 2>"$tmp/err3"
check "a directory given as a file exits 1" test $? -eq 1
check "the directory is reported on one line" grep -q "'$tmp/dir.txt' cannot be listed" "$tmp/err3"

printf 'b %s\nswap\nend\n' "$tmp/a.txt" >"$tmp/script"
"$kiv" --batch --script "$tmp/script" 2>"$tmp/err4"
check "a script file runs its commands" grep -q "^SESSION20: SWAP only allowed" "$tmp/err4"

"$kiv" --batch /S 2>"$tmp/err5"
check "/S without commands is refused" test $? -eq 1
check "/S without commands says so" grep -qx "Command option /S requires a value." "$tmp/err5"

# The program's command line: /L puts line 3 at the cursor, so DATALINE
# inserts after it; the script runs after the /S commands.
printf 'one\ntwo\nthree\nfour\n' >"$tmp/c.txt"
printf 'save\nend\n' >"$tmp/script2"
"$kiv" --batch /L3 "$tmp/c.txt" /S "dataline new" --script "$tmp/script2" 2>"$tmp/err6"
check "/L and DATALINE exit 0" test $? -eq 0
check "a short message shows its identifier once" grep -qx "SAVE20: File saved" "$tmp/err6"
check "/L 3: the new line follows line 3" cmp -s "$tmp/c.txt" <(printf 'one\ntwo\nthree\nnew\nfour\n')

KIVCMDPREFIX=/B "$kiv" --batch "$tmp/c.txt" /S "dataline x;end" 2>"$tmp/err7"
check "KIVCMDPREFIX /B opens in BROWSE" grep -qx "In BROWSE, no modify allowed" "$tmp/err7"
check "the BROWSE file is unchanged" cmp -s "$tmp/c.txt" <(printf 'one\ntwo\nthree\nnew\nfour\n')

"$kiv" --batch "$tmp/c.txt" /Q --script "$tmp/script2" 2>"$tmp/err8"
check "an invalid option exits 1" test $? -eq 1
check "an invalid option is named" grep -qx "Invalid command option 'Q'." "$tmp/err8"
check "nothing opened or ran after it" test "$(wc -l <"$tmp/err8")" -eq 1

"$kiv" --batch --frobnicate 2>"$tmp/err9"
check "an unknown --word exits 2" test $? -eq 2
check "an unknown --word is not created as a file" test ! -e ./--frobnicate

# The end of a run is the normal shutdown: a modified task meets the save
# question of closing, answered with its first answer, on standard error.
printf 'one\n' >"$tmp/e.txt"
"$kiv" --batch "$tmp/e.txt" /S "insertline 1 x" 2>"$tmp/err10"
check "a run without END exits 0" test $? -eq 0
check "its change is saved at the end" cmp -s "$tmp/e.txt" <(printf 'one\nx\n')
check "the save question is said" grep -q "^question: File modified, save changes?" "$tmp/err10"

# A save that wrote nothing fails the run.
"$kiv" --batch /V "$tmp/e.txt" /S "insertline 1 y;save" 2>"$tmp/err11"
check "a save refused in VIEW exits 1" test $? -eq 1
check "the VIEW file is unchanged" cmp -s "$tmp/e.txt" <(printf 'one\nx\n')

# What a save will change is said when the file loads, and nothing else.
printf 'a\r\nb\nc' >"$tmp/m.txt"
"$kiv" --batch "$tmp/m.txt" /S "end" 2>"$tmp/err13"
check "mixed ends and a last record without one are said at load" grep -qx \
  "FILE30: File: $tmp/m.txt Its records end in more than one way: CR+LF is used for all. Its last record has no record end: it gets one. SAVE writes it that way." "$tmp/err13"
check "the file is untouched" cmp -s "$tmp/m.txt" <(printf 'a\r\nb\nc')

# "/" and one letter is an option even when such a file exists.
if [[ -w / && ! -e /S ]]; then
  touch /S
  "$kiv" --batch "$tmp/e.txt" /S "insertline 1 z;save;end" 2>"$tmp/err12"
  check "/S is an option although /S exists" cmp -s "$tmp/e.txt" <(printf 'one\nz\nx\n')
  rm -f /S
fi

echo "$failures failed"
test "$failures" -eq 0
