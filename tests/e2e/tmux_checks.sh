# Shared by the tmux end-to-end scripts (sourced): a temporary directory
# ($tmp) that holds the tmux sockets and goes at exit, the T function that
# talks to the run's server, reading its pane "e2e", and counting checks.
# shellcheck shell=bash

tmp=$(mktemp -d)
export TMUX_TMPDIR=$tmp
unset TMUX
# Each run gets a server of its own (bump `runs`): a new one on the socket of
# one that is still shutting down would die with it.
runs=0
socket() { echo "kiv-e2e-$$-$runs"; }
T() { tmux -L "$(socket)" -f /dev/null "$@"; }
cleanup() {
  T kill-server >/dev/null 2>&1
  rm -rf "$tmp"
}
trap cleanup EXIT

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
