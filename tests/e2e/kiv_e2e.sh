#!/usr/bin/env bash
# kiv itself in a terminal: the real binary in a tmux pane on a real file,
# with a fresh options directory. It scrolls with F8 and F7, takes commands
# on the command row, types over data, answers the save question of F3 and
# leaves by Alt+F4 from the idle screen; a click on the close button ends a
# file and a second one the program; a key map changed in the user's option
# file reaches the keys; a resize rebuilds the panel; a UTF-8 file shows its
# characters in their cells. Usage: kiv_e2e.sh path/to/kiv
set -uo pipefail

kiv=${1:?usage: kiv_e2e.sh path/to/kiv}
if ! command -v tmux >/dev/null 2>&1; then
  echo "tmux is not installed: skipping the kiv end-to-end test"
  exit 77
fi

unset KIVORW
# shellcheck source=tmux_checks.sh
source "$(dirname "$0")/tmux_checks.sh"
row() { screen | sed -n "$1p"; }
expect_row() {  # expect_row N TEXT WHAT: row N begins with TEXT (within 10 s)
  local i
  for ((i = 0; i < 100; i++)); do
    [[ $(row "$1") == "$2"* ]] && { pass; return; }
    sleep 0.1
  done
  fail "$3: row $1 does not begin with '$2'"
}
cmd() {  # types a command on the command row and presses Enter
  T send-keys -t e2e Home "$1" Enter
}

# Starts kiv on FILE in a fresh 80x24 session; the shell records the terminal
# settings and the exit status.
start_kiv() {
  T kill-server >/dev/null 2>&1
  runs=$((runs + 1))
  rm -f "$tmp"/before "$tmp"/after "$tmp"/status
  T new-session -d -s e2e -x 80 -y 24 \
    "sh -c 'stty -g >$tmp/before; ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME=$tmp/config $kiv $* 2>$tmp/stderr; echo exit=\$? >$tmp/status; stty -g >$tmp/after; echo KIV-ENDED; exec sleep 600'"
}
check_ended() {  # check_ended WHAT STATUS
  if ! wait_for "KIV-ENDED"; then fail "$1: kiv did not end"; return; fi
  if grep -qx "exit=$2" "$tmp/status"; then pass; else fail "$1: $(cat "$tmp/status"), wanted exit=$2"; fi
  if cmp -s "$tmp/before" "$tmp/after"; then pass; else fail "$1: terminal settings differ after kiv"; fi
}

file=$tmp/sample.txt
for i in $(seq 1 100); do echo "line $i of the sample"; done >"$file"

# ---- first start: the options directory is made, the file is shown ----
start_kiv "$file"
expect "Created KIV options directory" "first start makes the options directory"
T send-keys -t e2e Enter
expect_row 1 " COMMAND ===>" "the command row"
expect_row 2 "******* Top of Data" "the top of the data"
expect_row 3 "000001 line 1 of the sample" "the first line"
expect_row 24 " Cols 01 " "the information line"

# ---- scrolling by function key and by command ----
T send-keys -t e2e F8
expect_row 2 "000022 line 22 " "F8 pages down"
T send-keys -t e2e F7
expect_row 2 "******* Top of Data" "F7 pages up"
cmd "down 50"
expect_row 2 "000050 line 50 " "DOWN 50 on the command row"
cmd "bottom"
expect "******* Bottom of Data" "BOTTOM"
cmd "up max"
expect_row 2 "******* Top of Data" "UP MAX"
cmd "nosuchverb"
expect "Unable to find macro source file" "an unknown verb goes to the macro runner"
T send-keys -t e2e Enter
expect_row 1 " COMMAND ===>  " "the command field was emptied"

# ---- typing over data, then F3 and the save question ----
T send-keys -t e2e Home Down Down  # the command field starts in column 15: data column 8
T send-keys -t e2e "XY"
expect_row 3 "000001 line 1 XY the sample" "typing overtypes the data"
T send-keys -t e2e F3
expect "File modified, save changes?" "F3 asks about the change"
T send-keys -t e2e y
expect "No file is open: EDIT name opens a file" "F3 on the last file leaves the idle screen"
T send-keys -t e2e M-F4
check_ended "Alt+F4 on the idle screen" 0
if [[ $(sed -n 1p "$file") == "line 1 XY the sample" && $(wc -l <"$file") -eq 100 ]]; then pass; else
  fail "the saved file: $(sed -n 1p "$file")"
fi

# ---- a key map changed in the user's option file reaches the keys ----
pf=$tmp/config/kiv/kivoptions.pfkeys.txt
if [[ -f $pf ]]; then pass; else fail "the PFKeys file was not copied into the options directory"; fi
sed -i 's/^ZPF05.MAP .*/ZPF05.MAP Bottom/' "$pf"
# A setting written by one run (KEY in batch mode) is read by the next.
XDG_CONFIG_HOME=$tmp/config ASAN_OPTIONS=detect_leaks=0 "$kiv" --batch /S "key f6 top" 2>/dev/null
start_kiv "$file"
expect_row 2 "******* Top of Data" "second start, no question"
T send-keys -t e2e F5
expect "******* Bottom of Data" "F5 mapped to BOTTOM in the option file"
T send-keys -t e2e F6
expect_row 2 "******* Top of Data" "F6 mapped to TOP by KEY in an earlier run"

# ---- a resize rebuilds the panel ----
T resize-window -t e2e -x 50 -y 12
expect_row 12 " Cols 01 " "the information line on the new bottom row"
if [[ $(row 1 | wc -c) -le 51 ]]; then pass; else fail "the command row is wider than 50"; fi
T resize-window -t e2e -x 1 -y 1
sleep 0.3
T resize-window -t e2e -x 80 -y 24
expect_row 24 " Cols 01 " "back to 80x24"
click_on "  X"
expect "No file is open: EDIT name opens a file" "the close button ends the file"
click_on "  X"
check_ended "the close button of the idle screen" 0

# ---- a hang-up with unsaved changes, and the next start recovering them ----
start_kiv "$file"
expect_row 2 "******* Top of Data" "a start for the hang-up"
T send-keys -t e2e Home Down Down "ZZ"
expect_row 3 "000001 line 1 ZZ the sample" "typing before the hang-up"
kill -HUP "$(pgrep -P "$(T list-panes -t e2e -F '#{pane_pid}')" -x kiv | head -1)"
check_ended "SIGHUP with a changed file (the status of a hang-up)" 129
if [[ $(sed -n 1p "$file") == "line 1 XY the sample" ]]; then pass; else fail "the file was written on SIGHUP"; fi
if ls "$tmp"/config/kiv/Recovery/*.kivrec >/dev/null 2>&1; then pass; else fail "no recovery file"; fi
start_kiv "$file"
expect "Unsaved changes of these files were kept" "the next start offers the recovery"
T send-keys -t e2e y
expect "Not recovered, the file is open already" "the file named on the command line is open already"
T send-keys -t e2e Enter
T send-keys -t e2e Home "exit" Enter
check_ended "EXIT after the refused recovery" 0
start_kiv
expect "Unsaved changes of these files were kept" "a start without files offers it again"
T send-keys -t e2e y
expect_row 3 "000001 line 1 ZZ the sample" "the recovered line"
T send-keys -t e2e F3
expect "File modified, save changes?" "the recovered file is modified"
T send-keys -t e2e y
expect "No file is open: EDIT name opens a file" "saved and ended"
T send-keys -t e2e M-F4
check_ended "Alt+F4 after the recovery" 0
if [[ $(sed -n 1p "$file") == "line 1 ZZ the sample" ]]; then pass; else fail "recovered line not saved"; fi
if ls "$tmp"/config/kiv/Recovery/*.kivrec >/dev/null 2>&1; then fail "the recovery file stays"; else pass; fi

# ---- a UTF-8 file: characters in their cells, the caret over wide ones ----
printf '%s\n' Recfm=VARIABLE MaxRecLen=80 CharsetFile=UTF-8 LongRecordOption=Notify \
  MaxRecordOption=Notify TrailingBlanksOption=LeaveBlanksAsIs TabsIn=0 NewFileRecordTerminator=LF \
  CapsMode=OFF BOOLlock=FALSE >"$tmp/config/kiv/kivfileprof.utf.txt"
printf 'caf\xc3\xa9 e\xcc\x81 \xe6\xbc\xa2\xe5\xad\x97 \xf0\x9f\x98\x80 \x01z\n' >"$tmp/u.utf"
cp "$tmp/u.utf" "$tmp/u.orig"
T kill-server >/dev/null 2>&1
runs=$((runs + 1))
T -u new-session -d -s e2e -x 80 -y 24 \
  "sh -c 'LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME=$tmp/config $kiv $tmp/u.utf 2>$tmp/stderr; echo KIV-ENDED; exec sleep 600'"
expect_row 3 $'000001 caf\xc3\xa9 e\xcc\x81 \xe6\xbc\xa2\xe5\xad\x97 \xf0\x9f\x98\x80 \xe2\x90\x81z ' \
  "UTF-8 text: wide characters, a mark, a control picture"
T send-keys -t e2e Home Down Down Right  # data column 8 (the first wide character), then Right
sleep 0.3
if [[ $(T display -p -t e2e '#{cursor_x}') == 16 ]]; then pass; else
  fail "Right from a wide character: the caret is at $(T display -p -t e2e '#{cursor_x}'), not 16"
fi
cmd "right 8"
expect_row 3 "000001 ░字 😀 ␁z " "a wide character cut by the left edge"
cmd "cancel"
expect "No file is open: EDIT name opens a file" "CANCEL of the UTF-8 file"
T send-keys -t e2e M-F4
if wait_for "KIV-ENDED" && cmp -s "$tmp/u.utf" "$tmp/u.orig"; then pass; else fail "the UTF-8 file changed"; fi

echo "$checks checks passed, $failures failed"
[[ $failures -eq 0 ]]
