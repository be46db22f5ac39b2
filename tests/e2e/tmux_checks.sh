# Shared by the tmux end-to-end scripts (sourced): reading the pane "e2e" of
# the server that the script's T function talks to, and counting checks.
# shellcheck shell=bash

failures=0
checks=0
screen() { T capture-pane -p -t e2e; }
fail() {
  echo "FAIL: $*"
  echo "--- screen ---"
  screen
  echo "--------------"
  failures=$((failures + 1))
}
pass() { checks=$((checks + 1)); }

# Waits up to 10 s for the screen to hold the text.
wait_for() {
  local i
  for ((i = 0; i < 100; i++)); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
expect() {  # expect TEXT WHAT
  if wait_for "$1"; then pass; else fail "$2: '$1' not on the screen"; fi
}

# Clicks (SGR report, press and release) on the second cell of TEXT as it
# stands on the screen.
click_on() {
  local row col
  row=$(screen | grep -nF -- "$1" | head -1 | cut -d: -f1)
  col=$(screen | sed -n "${row}p" | awk -v t="$1" '{ print index($0, t) }')
  T send-keys -t e2e -l $'\e'"[<0;$((col + 1));${row}M"$'\e'"[<0;$((col + 1));${row}m"
}
