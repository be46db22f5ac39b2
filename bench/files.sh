#!/usr/bin/env bash
# Times kiv's file loading and saving beside peer tools in the same run, on a
# generated file of 80-byte records, and prints each figure beside its peer
# with the ratio and the bar:
#   load whole file      beside  wc -l                               bar 5x
#   first chunk          beside  head -200                           (shown at once)
#   save (fsync, rename) beside  dd if=F of=F2 bs=1M conv=fsync      bar 3x
#   peak memory loaded   beside  vim -u NONE -N -es -c q F           bar 1.5x
# Each timing is the best of --runs runs (default 3).
#
# Usage: bench/files.sh [--big] [--records N] [--runs N] [--keep]
#   --big        10,000,000 records instead of 1,000,000
#   --records N  any other count
#   --keep       keep the generated files (in $KIV_BENCH_DIR or a temp folder)
#   --utf8       the records are mixed UTF-8 text (accented Latin, Greek,
#                Cyrillic, CJK) of the same size, opened as UTF-8
# KIV_BENCH_BUILD chooses the release build folder (default build/bench).
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")/.." && pwd)"

records=1000000
runs=3
keep=0
while (($#)); do
  case "$1" in
    --big) records=10000000 ;;
    --records) records="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --keep) keep=1 ;;
    --utf8) MIXED_TEXT=1 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

# shellcheck source=common.sh
source "$here/bench/common.sh"
install_peers vim time
filebench=$(build_bench kiv_filebench) || exit 1

work="${KIV_BENCH_DIR:-$(mktemp -d /tmp/kivfiles-XXXXXX)}"
mkdir -p "$work"
((keep)) || trap 'rm -rf "$work"' EXIT
file="$work/records-$records${MIXED_TEXT:+-mixed}.txt"
copy="$work/copy.txt"

make_text_records "$file" "$records"
cat "$file" >/dev/null  # every run reads from the page cache

# Seconds taken by a command, as a decimal.
elapsed() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }'
}

# A field (seconds, maxrss_kib) of kiv_filebench's line for a mode.
kiv_field() {
  local mode="$1" field="$2" target="$3" line
  line=$("$filebench" "$mode" "$target" 2>"$work/$mode.err") || {
    echo "kiv_filebench $mode failed:" >&2
    cat "$work/$mode.err" >&2
    exit 1
  }
  sed -n "s/.*$field=\([0-9.]*\).*/\1/p" <<<"$line"
}

best_kiv() {
  local mode="$1" field="$2" target="$3" value values=()
  for ((r = 0; r < runs; r++)); do
    [[ "$mode" == save ]] && cp "$file" "$target"
    value=$(kiv_field "$mode" "$field" "$target")
    values+=("$value")
  done
  least "${values[@]}"
}

best_of() {
  local values=()
  local value
  for ((r = 0; r < runs; r++)); do
    value=$(elapsed "$@")
    values+=("$value")
  done
  least "${values[@]}"
}

peak_rss_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

echo "measuring (best of $runs runs each)"
load_kiv=$(best_kiv load seconds "$file")
load_wc=$(best_of wc -l "$file")
first_kiv=$(best_kiv first seconds "$file")
first_head=$(best_of head -200 "$file")
save_kiv=$(best_kiv save seconds "$copy")
save_dd=$(best_of dd if="$file" of="$copy" bs=1M conv=fsync)
mem_kiv=$(kiv_field load maxrss_kib "$file")
mem_vim=$(peak_rss_kib vim -u NONE -N -es -c q "$file")

row() {  # what, kiv, peer name, peer, unit, bar
  awk -v what="$1" -v k="$2" -v pn="$3" -v p="$4" -v unit="$5" -v bar="$6" 'BEGIN {
    ratio = p > 0 ? k / p : 0;
    verdict = bar == "" ? "" : (ratio <= bar ? "ok" : "OVER");
    barText = bar == "" ? "-" : sprintf("<= %sx", bar);
    printf "%-20s %12s %-3s   %-25s %12s %-3s   %6.2fx  %-7s %s\n", what, k, unit, pn, p, unit, ratio, barText, verdict;
  }'
}

echo
echo "$(wc -l <"$file") records of 80 bytes, $(du -m "$file" | cut -f1) MiB"
row "load whole file" "$load_kiv" "wc -l" "$load_wc" s 5
row "first chunk" "$first_kiv" "head -200" "$first_head" s ""
row "save" "$save_kiv" "dd bs=1M conv=fsync" "$save_dd" s 3
row "peak memory loaded" "$mem_kiv" "vim -u NONE -N -es -c q" "$mem_vim" KiB 1.5
