#!/usr/bin/env bash
# A save killed at random moments: the file is always whole (the old
# contents or the new) and nothing is left beside it. Usage:
# save_kill_e2e.sh path/to/kiv
set -uo pipefail

kiv=${1:?usage: save_kill_e2e.sh path/to/kiv}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export KIVORW=$tmp/options
unset KIVCMDPREFIX
mkdir -p "$KIVORW" "$tmp/d"

awk 'BEGIN { for (i = 1; i <= 200000; i++) printf "record %06d %s\n", i, "abcdefghijklmnopqrstuvwxyz0123456789" }' \
  >"$tmp/old"
awk 'NR == 1 { print; print "NEW"; next } 1' "$tmp/old" >"$tmp/new"
# exec: the background job's pid is kiv's own, so that kill reaches it.
run() { ASAN_OPTIONS=detect_leaks=0 exec "$kiv" --batch "$tmp/d/f.txt" /S "insertline 1 NEW;save;end" 2>/dev/null; }

# How long a whole run takes, to kill within it.
cp "$tmp/old" "$tmp/d/f.txt"
start=$(date +%s%N)
(run)
whole_ms=$((($(date +%s%N) - start) / 1000000))
cmp -s "$tmp/d/f.txt" "$tmp/new" || { echo "FAILED: an unkilled run did not save"; exit 1; }

failures=0
for try in $(seq 1 16); do
  cp "$tmp/old" "$tmp/d/f.txt"
  run &
  pid=$!
  sleep "$(awk -v ms="$whole_ms" -v s="$RANDOM" 'BEGIN { srand(s); printf "%.3f", rand() * ms / 1000 }')"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  if ! cmp -s "$tmp/d/f.txt" "$tmp/old" && ! cmp -s "$tmp/d/f.txt" "$tmp/new"; then
    echo "FAILED: try $try left a file that is neither the old nor the new"
    failures=$((failures + 1))
  fi
  left=$(find "$tmp/d" -mindepth 1 ! -name f.txt)
  if [[ -n $left ]]; then
    echo "FAILED: try $try left $left"
    failures=$((failures + 1))
    rm -f $left
  fi
done
echo "16 killed saves (a whole run: $whole_ms ms), $failures failures"
((failures == 0))
