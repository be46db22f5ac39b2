#!/usr/bin/env bash
# Typing UTF-8 in a terminal: the real binary in a tmux pane on a UTF-8 file
# (its profile says CharsetFile=UTF-8). Characters typed, deleted and pasted
# into the data, and a CHANGE typed on the command row, reach the file on
# disk byte for byte; a MASK line typed in UTF-8 reaches the profile. Usage: utf8_typing_e2e.sh path/to/kiv
set -uo pipefail

kiv=${1:?usage: utf8_typing_e2e.sh path/to/kiv}
if ! command -v tmux >/dev/null 2>&1; then
  echo "tmux is not installed: skipping the UTF-8 typing end-to-end test"
  exit 77
fi

unset KIVORW
export LC_ALL=C.UTF-8
# shellcheck source=tmux_checks.sh
source "$(dirname "$0")/tmux_checks.sh"

config=$tmp/config
mkdir -p "$config/kiv"
printf '%s\n' Recfm=VARIABLE MaxRecLen=80 CharsetFile=UTF-8 TrailingBlanksOption=LeaveBlanksAsIs \
  TabsIn=0 NewFileRecordTerminator=LF CapsMode=OFF >"$config/kiv/kivfileprof.u8.txt"

file=$tmp/text.u8
printf 'ab\nkanji \xe6\xbc\xa2\xe5\xad\x97 here\nxy\n' >"$file"

runs=1
T new-session -d -s e2e -x 80 -y 24 \
  "sh -c 'ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME=$config LC_ALL=C.UTF-8 $kiv $file 2>$tmp/stderr; echo KIV-ENDED; exec sleep 600'"
wait_for "Top of Data" || wait_for "Created KIV options directory"
if screen | grep -qF "Created KIV options directory"; then T send-keys -t e2e Enter; fi
expect "000001 ab" "the file is shown"

# The file's bytes after a save, against the bytes wanted.
expect_file() {  # expect_file PRINTF-FORMAT WHAT
  T send-keys -t e2e C-s
  local i
  for ((i = 0; i < 50; i++)); do
    cmp -s "$file" <(printf "$1") && { pass; return; }
    sleep 0.1
  done
  fail "$2: the file holds $(od -An -c "$file" | tr -s ' ')"
}

# ---- typing in insert mode: é, a CJK character, e and a combining mark ----
T send-keys -t e2e Home Down Down Left Left Left Left Left Left  # line 1, data column 2
T send-keys -t e2e Insert
T send-keys -t e2e -l $'\u00e9\u6f22e\u0301'
expect_file 'a\xc3\xa9\xe6\xbc\xa2e\xcc\x81b\nkanji \xe6\xbc\xa2\xe5\xad\x97 here\nxy\n' "typed UTF-8"

# ---- Backspace takes the base and its mark; Delete the wide character ----
T send-keys -t e2e BSpace
expect_file 'a\xc3\xa9\xe6\xbc\xa2b\nkanji \xe6\xbc\xa2\xe5\xad\x97 here\nxy\n' "Backspace over e and its mark"
T send-keys -t e2e Left Delete  # the cursor on the second half of the wide character
expect_file 'a\xc3\xa9b\nkanji \xe6\xbc\xa2\xe5\xad\x97 here\nxy\n' "Delete of the wide character"

# ---- overtype: a CJK character over b ----
T send-keys -t e2e Insert
T send-keys -t e2e -l $'\u5b57'
expect_file 'a\xc3\xa9\xe5\xad\x97\nkanji \xe6\xbc\xa2\xe5\xad\x97 here\nxy\n' "overtype"

# ---- text pasted into the terminal keeps its UTF-8 ----
T send-keys -t e2e Down Left Left Left  # line 2 at data column 1
T set-buffer $'\u00fc\u4e2d'
T paste-buffer -t e2e
expect_file 'a\xc3\xa9\xe5\xad\x97\nk\xc3\xbc\xe4\xb8\xadji \xe6\xbc\xa2\xe5\xad\x97 here\nxy\n' "pasted text"

# ---- a CHANGE typed on the command row with CJK characters ----
T send-keys -t e2e Home
T send-keys -t e2e -l $'change \u6f22\u5b57 \u00e7a all'
T send-keys -t e2e Enter
expect "Changed 1 occurrences in 1 lines." "CHANGE found the typed characters"
if screen | grep -qF "short message"; then T send-keys -t e2e n; fi  # the first message's box
expect_file 'a\xc3\xa9\xe5\xad\x97\nk\xc3\xbc\xe4\xb8\xadji \xc3\xa7a here\nxy\n' "CHANGE typed with UTF-8"
expect " COMMAND ===>" "the command row"

# ---- a MASK line takes UTF-8 and the profile keeps it ----
T send-keys -t e2e Home Down Down Down Down  # line 3
for ((k = 0; k < 14; k++)); do T send-keys -t e2e Left; done  # its prefix area
T send-keys -t e2e -l "mask"
T send-keys -t e2e Enter
expect "<MASK>" "the mask line"
T send-keys -t e2e Down Right Right Right  # the mask line, data column 1
T send-keys -t e2e -l $'\u03a9\u6f22'
profile=$config/kiv/kivfileprof.u8.txt
for ((k = 0; k < 50; k++)); do grep -qF "MaskLine='"$'\u03a9\u6f22'"'" "$profile" && break; sleep 0.1; done
if grep -qF "MaskLine='"$'\u03a9\u6f22'"'" "$profile"; then pass; else fail "the profile holds $(grep Mask "$profile")"; fi

T send-keys -t e2e Home "exit"
T send-keys -t e2e Enter
expect "KIV-ENDED" "EXIT ends kiv"
if [[ -s $tmp/stderr ]]; then fail "kiv wrote to stderr: $(head -5 "$tmp/stderr")"; else pass; fi

echo "$checks checks passed, $failures failed"
[[ $failures -eq 0 ]]
