#!/usr/bin/env bash
# The terminal platform end to end: runs kiv_termdemo in a tmux pane, types
# keys (function keys with modifiers, Ctrl and Alt letters, unknown escape
# sequences, mouse clicks), resizes the pane (also while a question is open,
# and down to 1x1), reads the screen with capture-pane, and checks that the
# terminal is restored after every way out: F3, std::exit, abort, SIGSEGV, and
# a SIGTERM or SIGHUP from outside, which the platform turns into a quit. The
# clipboard: OSC 52 into tmux's buffer, and fake wl-copy/wl-paste on PATH. Usage: terminal_e2e.sh path/to/kiv_termdemo
set -uo pipefail

demo=${1:?usage: terminal_e2e.sh path/to/kiv_termdemo}
if ! command -v tmux >/dev/null 2>&1; then
  echo "tmux is not installed: skipping the terminal end-to-end test"
  exit 77
fi

# shellcheck source=tmux_checks.sh
source "$(dirname "$0")/tmux_checks.sh"

# Starts the demo in a fresh 80x24 session whose shell records the terminal
# settings before and after it and its exit status.
# An argument goes in front of the demo's command (environment settings).
start_demo() {
  T kill-server >/dev/null 2>&1
  runs=$((runs + 1))
  rm -f "$tmp"/before "$tmp"/after "$tmp"/status
  T new-session -d -s e2e -x 80 -y 24 \
    "sh -c 'stty -g >$tmp/before; ASAN_OPTIONS=detect_leaks=0 ${1:-} $demo 2>$tmp/stderr; echo exit=\$? >$tmp/status; stty -g >$tmp/after; echo DEMO-ENDED; exec sleep 600'"
  wait_for "KIV TERMDEMO" || { fail "the demo did not start"; cat "$tmp/stderr"; exit 1; }
}

# After the demo has ended: the exit status, the same terminal settings as
# before, and none of the modes it set left on.
check_restored() {  # check_restored HOW EXPECTED-STATUS
  local how=$1 modes
  if ! wait_for "DEMO-ENDED"; then fail "$how: the demo did not end"; return; fi
  if grep -qx "exit=$2" "$tmp/status"; then pass; else fail "$how: $(cat "$tmp/status"), wanted exit=$2"; fi
  if cmp -s "$tmp/before" "$tmp/after"; then pass; else fail "$how: stty settings differ after the demo"; fi
  modes=$(T display -p -t e2e '#{alternate_on} #{mouse_standard_flag} #{mouse_sgr_flag} #{keypad_flag} #{cursor_flag}')
  if [[ $modes == "0 0 0 0 1" ]]; then pass; else
    fail "$how: modes left on (alternate mouse sgr keypad / cursor visible): $modes"
  fi
}

key() {  # key TMUX-KEY SHOWN-AS
  T send-keys -t e2e "$1"
  expect "Key: $2" "key $1"
}


# ---- keys, colours, mouse, unknown input ----
start_demo
expect "Size 24x80" "start-up size"
expect "Latin-1: éèü" "Latin-1 text drawn as UTF-8"
if [[ $(T display -p -t e2e '#{pane_title}') == "kiv termdemo" ]]; then pass; else fail "title not set"; fi
# The palette's (0,0,170) and (170,0,0) as the nearest of 256: 19 and 124.
colours=$(T capture-pane -p -e -t e2e | sed -n 5p)
if [[ $colours == *"48;5;19m"* && $colours == *"48;5;124m"* ]]; then pass; else
  fail "the colour row is not in the nearest 256 colours: $(printf %q "$colours")"
fi

key S-F5 "Shift+F5"
key C-F5 "Ctrl+F5"
key M-F1 "Alt+F1"
key S-F12 "Shift+F12"
key C-F3 "Ctrl+F3"
key F12 "F12"
key C-s "Ctrl+S"
key C-q "Ctrl+Q"
key C-c "Ctrl+C"
key C-z "Ctrl+Z"
key M-x "Alt+X"
key M-X "Alt+Shift+X"
key C-Up "Ctrl+Up"
key C-j "Ctrl+J"
key Enter "Enter"
key Escape "Escape"
key é "é"
# Unknown sequences and a mouse release mean nothing; the next key shows.
T send-keys -t e2e -l $'\e[99~\e[?1;2c\e[1;5X\e[<0;3;3m'
key a "a"
T send-keys -t e2e -l $'\e[<0;5;8M\e[<0;5;8m'
expect "Key: Click Left 7,4" "mouse click"

# ---- resizing, down to one cell and beyond the largest screen ----
T resize-window -t e2e -x 100 -y 30
expect "Size 30x100" "resize to 30x100"
T resize-window -t e2e -x 1 -y 1
sleep 0.3
T resize-window -t e2e -x 500 -y 300
expect "Size 200x399" "resize to 300x500 clamps to 200x399"
T resize-window -t e2e -x 80 -y 24
expect "Size 24x80" "resize back to 80x24"

# ---- the question box ----
T send-keys -t e2e F5
expect "KIV Message" "question box title"
expect "Do you want to continue?" "question box text"
expect "[ Yes ]  [ No ]" "question box buttons"
if screen | grep -q "Size 24x80"; then pass; else fail "the grid is not kept around the box"; fi
T resize-window -t e2e -x 60 -y 16
expect "Size 24x80" "the old grid stays under the box while it is open"
sleep 0.3
if screen | grep -qF "[ Yes ]  [ No ]" && [[ $(screen | grep -c "│") -ge 2 ]]; then pass; else
  fail "the box is not drawn again after a resize"
fi
T send-keys -t e2e n
expect "Answer: No" "answer N"
expect "Size 16x60" "the resize reaches the program after the box"
T resize-window -t e2e -x 80 -y 24
expect "Size 24x80" "resize back"

T send-keys -t e2e F5 n  # "n" typed ahead of the box, in the same write
expect "[ Yes ]" "box for Enter"
sleep 0.3
if screen | grep -qF "[ Yes ]  [ No ]"; then pass; else fail "a key typed ahead answered the box"; fi
T send-keys -t e2e Enter
expect "Answer: Yes" "Enter takes the first button"

T send-keys -t e2e F5 Escape  # an Escape typed ahead, in the same write: dropped too
expect "[ Yes ]" "box for Escape"
sleep 0.3
if screen | grep -qF "[ Yes ]  [ No ]"; then pass; else fail "an Escape typed ahead closed the box"; fi
T send-keys -t e2e Escape
expect "Answer: Closed" "Escape closes a question"

T send-keys -t e2e F5
expect "[ No ]" "box for a click"
click_on "[ No ]"
expect "Answer: No" "a click on No"
T send-keys -t e2e F5
expect "[ Yes ]" "box for a click on Yes"
click_on "[ Yes ]"
expect "Answer: Yes" "a click on Yes"
if screen | grep -qF "KIV Message"; then fail "the box stays after its answer"; else pass; fi

T send-keys -t e2e F3
check_restored "F3" 0

# ---- the clipboard: OSC 52 sets tmux's buffer; fake desktop tools ----
mkdir -p "$tmp/tools"
printf '#!/bin/sh\ncat >%s/copied\n' "$tmp" >"$tmp/tools/wl-copy"
printf '#!/bin/sh\ncat %s/desktop\n' "$tmp" >"$tmp/tools/wl-paste"
chmod +x "$tmp"/tools/*
start_demo "PATH=$tmp/tools:/usr/bin:/bin WAYLAND_DISPLAY=e2e"
T set -s set-clipboard on
T send-keys -t e2e F8
expect "Key: F8" "F8 copies"
clip="kiv clip é ✓"
if [[ $(T show-buffer 2>&1) == "$clip" ]]; then pass; else fail "OSC 52: tmux's buffer is '$(T show-buffer 2>&1)'"; fi
if [[ $(cat "$tmp/copied" 2>&1) == "$clip" ]]; then pass; else fail "wl-copy got '$(cat "$tmp/copied" 2>&1)'"; fi
printf 'from the desktop' >"$tmp/desktop"
T send-keys -t e2e F9
expect "Clip: from the desktop" "F9 reads wl-paste"
rm "$tmp/desktop"  # wl-paste fails now: the kept text comes back
T send-keys -t e2e F9
expect "Clip: $clip" "a failing wl-paste gives the kept text"
T send-keys -t e2e F3
check_restored "F3 after the clipboard" 0

# ---- the other ways out ----
start_demo
pid=$(screen | sed -n 's/.*pid \([0-9][0-9]*\).*/\1/p' | head -1)
kill -TERM "$pid"
check_restored "SIGTERM, taken as a quit by the program's own way out" 0

start_demo
T send-keys -t e2e F5
expect "KIV Message" "box before SIGHUP"
pid=$(screen | sed -n 's/.*pid \([0-9][0-9]*\).*/\1/p' | head -1)
kill -HUP "$pid"
check_restored "SIGHUP while a question is open (the box closes, the program quits)" 0

start_demo
T send-keys -t e2e F4
check_restored "abort" 134

start_demo
T send-keys -t e2e F6
check_restored "std::exit" 3

start_demo
T send-keys -t e2e F7
if wait_for "DEMO-ENDED" && grep -q "exit=" "$tmp/status" && ! grep -qx "exit=0" "$tmp/status"; then pass; else
  fail "SIGSEGV did not end the demo"
fi
if cmp -s "$tmp/before" "$tmp/after"; then pass; else fail "SIGSEGV: stty settings differ after the demo"; fi

# ---- true colour, where the terminal descriptions for it are installed ----
if infocmp tmux-direct >/dev/null 2>&1 || infocmp xterm-direct >/dev/null 2>&1; then
  start_demo COLORTERM=truecolor
  colours=$(T capture-pane -p -e -t e2e | sed -n 5p)
  if [[ $colours == *"48;2;0;0;170m"* && $colours == *"48;2;170;0;0m"* ]]; then pass; else
    fail "COLORTERM=truecolor: the colour row is not in true colour: $(printf %q "$colours")"
  fi
  T send-keys -t e2e F3
  check_restored "F3 in true colour" 0
else
  echo "note: no *-direct terminal description installed (ncurses-term): true colour not checked"
fi

echo "$checks passed, $failures failed"
((failures == 0))
