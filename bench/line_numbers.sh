#!/usr/bin/env bash
# Line numbers at any size: times kiv_linesbench on a small and a big file of
# 80-byte records (1,000 and 10,000,000 lines unless given) and prints each
# per-operation figure for both files side by side with the ratio big/small:
#   LOCATE to the last line but one + repaint, LOCATE 1 + repaint
#   one line inserted near the end (own undo step) + repaint
#   lines inserted at random places over the whole file + repaint
# Every operation is followed by refreshScreen; the panel shows line numbers.
# For scale: the time `wc -l` takes on the big file, and the program's load
# of it (createTask and every chunk; the slowest run too, as the kernel's
# handing out of fresh pages varies a lot). Each figure is the least of --runs runs
# (mean and median per operation kept separately). The program checks its
# own line numbers and counts and fails the script when one is wrong; the
# files' checksums are compared before and after: the benchmark never
# writes them.
#
# Usage: bench/line_numbers.sh [--small N] [--big N] [--runs N] [--repeat N]
#                              [--inserts N] [--keep]
#   --keep   keep the generated files (in $KIV_BENCH_DIR or a temp folder)
# KIV_BENCH_BUILD chooses the release build folder (default build/bench).
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")/.." && pwd)"

small=1000
big=10000000
runs=3
repeat=200
inserts=1000
keep=0
while (($#)); do
  case "$1" in
    --small) small="$2"; shift ;;
    --big) big="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --repeat) repeat="$2"; shift ;;
    --inserts) inserts="$2"; shift ;;
    --keep) keep=1 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

# shellcheck source=common.sh
source "$here/bench/common.sh"
install_peers
linesbench=$(build_bench kiv_linesbench) || exit 1

work="${KIV_BENCH_DIR:-$(mktemp -d /tmp/kivlines-XXXXXX)}"
mkdir -p "$work"
((keep)) || trap 'rm -rf "$work"' EXIT
small_file="$work/records-$small.txt"
big_file="$work/records-$big.txt"
make_records "$small_file" "$small"
make_records "$big_file" "$big"
small_sum=$(md5sum <"$small_file")
big_sum=$(md5sum <"$big_file")  # also puts the file in the page cache

# Milliseconds a command takes, from the shell's clock.
run_ms() {
  local start end
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) * 1000 }'
}

# The per-operation mean (the first number) and the median of a figure line
# "label: MEAN us/op (..., median M us, ...)"; "load: MS ms (...)" for load.
mean_of() {
  awk -F': ' -v l="$2" '$1 == l { split($2, v, " "); print v[1]; exit }' <<<"$1"
}
median_of() {
  awk -F': ' -v l="$2" '$1 == l { if (match($2, /median [0-9.]+/)) print substr($2, RSTART + 7, RLENGTH - 7); exit }' <<<"$1"
}
parts_of() {
  awk -F': ' -v l="$2" '$1 == l { print $2; exit }' <<<"$1"
}

labels=("locate far" "locate top" "insert near end" "insert scattered")
declare -A best=() most=()
keep_most() {  # key value
  local old="${most[$1]:-}"
  if [[ -z "$old" ]] || awk -v a="$2" -v b="$old" 'BEGIN { exit !(a > b) }'; then most[$1]="$2"; fi
}

# Runs the program `runs` times on a file; keeps the least of each figure
# under the key "SIZE/label/mean|median"; the last output goes to $work/SIZE.out.
measure() {  # size file lines
  local size="$1" file="$2" lines="$3" r out label
  for ((r = 0; r < runs; r++)); do
    if ! out=$("$linesbench" --repeat "$repeat" --inserts "$inserts" --lines "$lines" "$file" \
      2>"$work/$size.err"); then
      echo "kiv_linesbench failed on $file:" >&2
      printf '%s\n' "$out" >&2
      cat "$work/$size.err" >&2
      exit 1
    fi
    printf '%s\n' "$out" >"$work/$size.out"
    keep_least "$size/load" "$(mean_of "$out" load)"
    keep_most "$size/load" "$(mean_of "$out" load)"
    for label in "${labels[@]}"; do
      keep_least "$size/$label/mean" "$(mean_of "$out" "$label")"
      keep_least "$size/$label/median" "$(median_of "$out" "$label")"
    done
  done
}

echo "measuring: $runs runs on $small and on $big lines"
wc_values=()
for ((r = 0; r < 3; r++)); do wc_values+=("$(run_ms wc -l "$big_file")"); done
wc_ms=$(least "${wc_values[@]}")
measure small "$small_file" "$small"
measure big "$big_file" "$big"

if [[ "$small_sum" != "$(md5sum <"$small_file")" || "$big_sum" != "$(md5sum <"$big_file")" ]]; then
  echo "the benchmark changed a file" >&2
  exit 1
fi

echo
echo "records of 80 bytes: $small lines ($(du -k "$small_file" | cut -f1) KiB) and $big lines" \
  "($(du -m "$big_file" | cut -f1) MiB); load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-18s %21s %21s %17s\n' "per operation, us" "$small lines" "$big lines" "ratio big/small"
printf '%-18s %21s %21s %17s\n' "" "mean (median)" "mean (median)" "mean (median)"
for label in "${labels[@]}"; do
  awk -v l="$label" -v sm="${best[small/$label/mean]}" -v sd="${best[small/$label/median]}" \
    -v bm="${best[big/$label/mean]}" -v bd="${best[big/$label/median]}" 'BEGIN {
    rm = sm > 0 ? bm / sm : 0;
    rd = sd > 0 ? bd / sd : 0;
    printf "%-18s %10.2f (%7.2f) %10.2f (%7.2f) %7.2fx (%5.2fx)\n", l, sm, sd, bm, bd, rm, rd;
  }'
done
echo
echo "where the inserts' time goes (last run):"
for size in small big; do
  lines=$small
  [[ $size == big ]] && lines=$big
  printf '  %-10s near end:  %s\n' "$lines" "$(parts_of "$(cat "$work/$size.out")" "insert near end, parts")"
  printf '  %-10s scattered: %s\n' "$lines" "$(parts_of "$(cat "$work/$size.out")" "insert scattered, parts")"
done
printf '  index segments on %s lines: %s\n' "$big" \
  "$(parts_of "$(cat "$work/big.out")" "index segments")"
echo
echo "for scale, on the $big-line file:"
printf '  %-34s %10s ms\n' "wc -l" "$wc_ms"
printf '  %-34s %10s ms (slowest run %s ms)\n' "kiv load (createTask, every chunk)" "${best[big/load]}" \
  "${most[big/load]}"
echo "checks passed in every run; files unchanged after the runs (md5)"
