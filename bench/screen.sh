#!/usr/bin/env bash
# Times kiv's edit panel on a generated file of 80-byte records and prints
# each figure beside its peer or its bar:
#   start-up to the first screen (whole process)  beside  vim -u NONE -N -es on an empty file  bar 2x
#                                                 and     head -ROWS FILE
#   first screen (createTask to the first paint)  at once, whatever the size of the file
#   CPU per page, down (loading) and up (loaded)  (no peer)
#   CPU per typed character                       bar: well under 1 ms
#   rows repainted per keystroke                  bar: the typed row (and the status row)
# kiv_screenbench drives an editor session over the headless platform: F8
# to the bottom of the data, F7 back to the top, then typing one event at a
# time with a screen refresh after each. Timings are the best of --runs
# runs; whole-process start-up the best of --starts runs.
#
# Usage: bench/screen.sh [--records N] [--runs N] [--starts N] [--chars N]
#                        [--rows R] [--cols C] [--keep]
#   --keep       keep the generated file (in $KIV_BENCH_DIR or a temp folder)
#   --utf8       the records are mixed UTF-8 text (accented Latin, Greek,
#                Cyrillic, CJK) of the same size, opened as UTF-8
# KIV_BENCH_BUILD chooses the release build folder (default build/bench).
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")/.." && pwd)"

records=1000000
runs=3
starts=20
chars=10000
rows=24
cols=80
keep=0
while (($#)); do
  case "$1" in
    --records) records="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --starts) starts="$2"; shift ;;
    --chars) chars="$2"; shift ;;
    --rows) rows="$2"; shift ;;
    --cols) cols="$2"; shift ;;
    --keep) keep=1 ;;
    --utf8) MIXED_TEXT=1 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

# shellcheck source=common.sh
source "$here/bench/common.sh"
install_peers vim
screenbench=$(build_bench kiv_screenbench) || exit 1

work="${KIV_BENCH_DIR:-$(mktemp -d /tmp/kivscreen-XXXXXX)}"
mkdir -p "$work"
((keep)) || trap 'rm -rf "$work"' EXIT
file="$work/records-$records${MIXED_TEXT:+-mixed}.txt"
empty="$work/empty.txt"
: >"$empty"

make_text_records "$file" "$records"
before=$(md5sum <"$file")  # also puts the file in the page cache

# Milliseconds a command takes, from the shell's clock (no process of its own).
run_ms() {
  local start end
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) * 1000 }'
}

best_ms() {
  local values=() r
  for ((r = 0; r < starts; r++)); do values+=("$(run_ms "$@")"); done
  least "${values[@]}"
}

# The Nth number after "label:" in kiv_screenbench's output.
figure() {
  local output="$1" label="$2" n="$3"
  awk -F': ' -v l="$label" -v n="$n" '$1 == l {
    gsub(/[^0-9.]+/, " ", $2); split($2, v, " "); print v[n]; exit
  }' <<<"$output"
}

bench_args=(--rows "$rows" --cols "$cols" --chars "$chars")

# One full run; its output goes to $work/run-R.out, messages to run-R.err.
run_full() {
  local r="$1"
  "$screenbench" "${bench_args[@]}" "$file" >"$work/run-$r.out" 2>"$work/run-$r.err" || {
    echo "kiv_screenbench failed:" >&2
    cat "$work/run-$r.out" "$work/run-$r.err" >&2
    exit 1
  }
}

echo "measuring: $runs full runs, $starts start-ups of each program"
start_kiv=$(best_ms "$screenbench" "${bench_args[@]}" --first-only "$file")
start_vim=$(best_ms vim -u NONE -N -es -c q "$empty")
start_head=$(best_ms head -"$rows" "$file")

declare -A best=()
for ((r = 0; r < runs; r++)); do
  run_full "$r"
  out=$(cat "$work/run-$r.out")
  keep_least first_wall "$(figure "$out" "first screen" 1)"
  keep_least first_cpu "$(figure "$out" "first screen" 2)"
  keep_least down "$(figure "$out" "page down (loading)" 1)"
  keep_least up "$(figure "$out" "page up (loaded)" 1)"
  keep_least both "$(figure "$out" "page (both ways)" 1)"
  keep_least typing "$(figure "$out" "typing" 1)"
done
first_wall=${best[first_wall]} first_cpu=${best[first_cpu]} down=${best[down]} up=${best[up]}
both=${best[both]} typing=${best[typing]}
first_lines=$(figure "$out" "first screen" 3)
pages=$(figure "$out" "page down (loading)" 2)
store=$(figure "$out" "lines in store" 1)
repaint=$(figure "$out" "rows repainted per keystroke" 1)
repaint_most=$(figure "$out" "rows repainted per keystroke" 2)
repaint_data=$(figure "$out" "rows repainted per keystroke" 3)

after=$(md5sum <"$file")
if [[ "$before" != "$after" ]]; then
  echo "the benchmark changed $file" >&2
  exit 1
fi

row() {  # what, kiv ms, peer name, peer ms, bar (ratio) or "" for none
  awk -v what="$1" -v k="$2" -v pn="$3" -v p="$4" -v bar="$5" 'BEGIN {
    ratio = p > 0 ? k / p : 0;
    verdict = bar == "" ? "" : (ratio <= bar ? "ok" : "OVER");
    barText = bar == "" ? "-" : sprintf("<= %sx", bar);
    printf "%-30s %10s %-8s beside %-26s %8s ms %7.2fx  %-7s %s\n", what, k, "ms", pn, p, ratio, barText, verdict;
  }'
}

plain() {  # what, kiv, unit, note
  printf "%-30s %10s %-8s %s\n" "$1" "$2" "$3" "$4"
}

echo
echo "$(wc -l <"$file") records of 80 bytes, $(du -m "$file" | cut -f1) MiB; screen $rows x $cols;" \
  "load average $(cut -d' ' -f1-3 /proc/loadavg)"
row "start-up to first screen" "$start_kiv" "vim -u NONE -N -es (empty)" "$start_vim" 2
row "start-up to first screen" "$start_kiv" "head -$rows FILE" "$start_head" ""
plain "first screen (in process)" "$first_wall" ms "wall; cpu $first_cpu ms; $first_lines lines loaded"
plain "page down (loading)" "$down" "us/page" "cpu; $pages pages of $((rows - 2)) rows or fewer"
plain "page up (loaded)" "$up" "us/page" "cpu; $store lines in the store"
plain "page, both ways" "$both" "us/page" "cpu"
awk -v k="$typing" 'BEGIN {
  printf "%-30s %10s %-8s cpu; %.1f%% of 1 ms (bar: well under, < 100 us)  %s\n", "typed character",
         k, "us/char", k / 10, (k < 100 ? "ok" : "OVER");
}'
awk -v m="$repaint" -v x="$repaint_most" -v d="$repaint_data" 'BEGIN {
  printf "%-30s %10s %-8s at most %s; data rows %s (bar: 1)  %s\n", "rows repainted per keystroke", m,
         "rows", x, d, (d + 0 <= 1 ? "ok" : "OVER");
}'
echo "file unchanged after the runs (md5)"
