#!/usr/bin/env bash
# Line commands on big files: times kiv_linecmdbench on files of 80-byte
# records (100,000 and 1,000,000 lines; with --big also 10,000,000, which
# takes about 1.2 GB to load and some 2 GB at the copy's peak) and prints,
# for every size, each operation's time, its cost per line and the peer's
# time on the same file:
#   DD on the first and the last line (the whole file deleted)
#        peer: sed '1,$d' FILE >/dev/null (reads every line and drops it)
#   CC on line 1 and on the line half way, A on the last line (half the file
#   copied to the end; 500,000 lines on the 1,000,000-line file)
#        peer: sed -n '1,Np;Nq' FILE >NEWFILE (the same lines written to a
#        new file)
#   (( on the first and the last line (every line shifted left by 2)
#        peers: cut -c3- FILE >/dev/null and sed 's/^..//' FILE >/dev/null
#   XX on the first and the last line (one marker for the whole file)
#        peer: grep -c '' FILE >COUNTFILE (counts every line)
# Each kiv operation is one processLineCommands (its own undo step) and one
# refreshScreen on a freshly loaded file, in a process of its own; the load
# is not counted. The program reports wall time, user and system CPU (the
# system part is mostly the kernel clearing fresh pages) and the cost per
# line. Each figure is the least of --runs runs; each peer the least of 3
# runs, timed with the shell's clock. The program checks its own results
# and the script checks the peers' output once (untimed); either failing
# fails the script. The files' checksums are compared before and after: the
# benchmark never writes them.
#
# Usage: bench/line_commands.sh [--big] [--sizes "N N ..."] [--runs N] [--keep]
#   --big    add the 10,000,000-line file
#   --keep   keep the generated files (in $KIV_BENCH_DIR or a temp folder)
# KIV_BENCH_BUILD chooses the release build folder (default build/bench).
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")/.." && pwd)"

sizes=(100000 1000000)
runs=3
keep=0
while (($#)); do
  case "$1" in
    --big) sizes+=(10000000) ;;
    --sizes) read -r -a sizes <<<"$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --keep) keep=1 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

# shellcheck source=common.sh
source "$here/bench/common.sh"
install_peers
cmdbench=$(build_bench kiv_linecmdbench) || exit 1

work="${KIV_BENCH_DIR:-$(mktemp -d /tmp/kivlinecmd-XXXXXX)}"
mkdir -p "$work"
((keep)) || trap 'rm -rf "$work"' EXIT

best_of_3() {
  local values=() r
  for ((r = 0; r < 3; r++)); do values+=("$(elapsed_ms "$1")"); done
  least "${values[@]}"
}

declare -A best=() peer=()
FIRST_PART=process  # "label: ... (process P ms, ...)"

# What the peers give, checked once against what they must give.
check_peers() {  # file lines copy
  local file="$1" n="$2" copy="$3" first
  [[ $(sed '1,$d' "$file" | wc -c) -eq 0 ]] || { echo "peer sed '1,\$d' printed something" >&2; exit 1; }
  [[ $(sed -n "1,${copy}p;${copy}q" "$file" | wc -l) -eq $copy ]] ||
    { echo "peer sed -n did not copy $copy lines" >&2; exit 1; }
  first=$(head -1 "$file")
  [[ $(cut -c3- "$file" | head -1) == "${first:2}" && $(cut -c3- "$file" | wc -l) -eq $n ]] ||
    { echo "peer cut -c3- gave other lines" >&2; exit 1; }
  [[ $(sed 's/^..//' "$file" | head -1) == "${first:2}" && $(sed 's/^..//' "$file" | wc -l) -eq $n ]] ||
    { echo "peer sed 's/^..//' gave other lines" >&2; exit 1; }
  [[ $(grep -c '' "$file") -eq $n ]] || { echo "peer grep -c '' miscounted" >&2; exit 1; }
}

for n in "${sizes[@]}"; do
  file="$work/records-$n.txt"
  make_records "$file" "$n"
  sum=$(md5sum <"$file")  # also puts the file in the page cache
  copy=$((n / 2))
  echo "measuring $n lines: $runs runs of kiv_linecmdbench, peers best of 3"
  # Each operation in a process of its own, on a freshly loaded file.
  for ((r = 0; r < runs; r++)); do
    for op in dd cc shift xx; do
      if ! out=$(nice "$cmdbench" --ops "$op" --lines "$n" --copy "$copy" "$file" 2>"$work/$n.err"); then
        echo "kiv_linecmdbench --ops $op failed on $file:" >&2
        printf '%s\n' "$out" >&2
        cat "$work/$n.err" >&2
        exit 1
      fi
      printf '%s\n' "$out" >>"$work/$n.out"
      if [[ $op == xx ]]; then keep_figures "$n" "$out" xx "xx relayout"; else keep_figures "$n" "$out" "$op"; fi
    done
  done
  check_peers "$file" "$n" "$copy"
  copied="$work/copied-$n.txt"
  peer[$n/dd]=$(best_of_3 "nice sed '1,\$d' '$file' >/dev/null")
  peer[$n/cc]=$(best_of_3 "nice sed -n '1,${copy}p;${copy}q' '$file' >'$copied'")
  rm -f "$copied"
  peer[$n/shift]=$(best_of_3 "nice cut -c3- '$file' >/dev/null")
  peer[$n/shift-sed]=$(best_of_3 "nice sed 's/^..//' '$file' >/dev/null")
  # grep stops at the first match when its output is /dev/null: a file it is.
  peer[$n/xx]=$(best_of_3 "nice grep -c '' '$file' >'$work/count'")
  [[ $(cat "$work/count") -eq $n ]] || { echo "peer grep -c '' miscounted" >&2; exit 1; }
  if [[ "$sum" != "$(md5sum <"$file")" ]]; then
    echo "the benchmark changed $file" >&2
    exit 1
  fi
  ((keep)) || rm -f "$file"
done

echo
echo "records of 80 bytes and a line feed; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "kiv: processLineCommands + refreshScreen, each the least of $runs runs (one process per"
echo "operation, the load not counted); peers the least of 3 runs"
printf '%-9s %-9s %9s %9s %8s %8s %8s %8s %8s  %-11s %9s %7s\n' lines operation "kiv ms" "process" \
  "repaint" "user" "sys" "ns/line" "user ns" peer "peer ms" ratio
for n in "${sizes[@]}"; do
  for label in dd cc shift xx "xx relayout"; do
    name=$label p="" pname=""
    case "$label" in
      dd) pname="sed 1,\$d"; p=${peer[$n/dd]} ;;
      cc) pname="sed -n 1,Np"; p=${peer[$n/cc]} ;;
      shift) name="(("; pname="cut -c3-"; p=${peer[$n/shift]} ;;
      xx) pname="grep -c ''"; p=${peer[$n/xx]} ;;
      "xx relayout") name="relayout" ;;
    esac
    awk -v n="$n" -v l="$name" -v ms="${best[$n/$label/ms]}" -v pr="${best[$n/$label/process]}" \
      -v rp="${best[$n/$label/repaint]}" -v us="${best[$n/$label/user]}" -v sy="${best[$n/$label/sys]}" \
      -v ns="${best[$n/$label/ns]}" -v uns="${best[$n/$label/userns]}" -v pn="$pname" -v p="$p" 'BEGIN {
      ratio = p > 0 ? sprintf("%.2fx", ms / p) : "";
      printf "%-9s %-9s %9.2f %9.2f %8.3f %8.1f %8.1f %8.1f %8.1f  %-11s %9s %7s\n", n, l, ms, pr, rp, us, sy,
        ns, uns, pn, p, ratio;
    }'
    if [[ $label == shift ]]; then
      awk -v n="$n" -v ms="${best[$n/shift/ms]}" -v p="${peer[$n/shift-sed]}" 'BEGIN {
        printf "%-9s %-9s %9s %9s %8s %8s %8s %8s %8s  %-11s %9s %6.2fx\n", n, "((", "", "", "", "", "", "", "",
          "sed s/^..//", p, ms / p;
      }'
    fi
  done
done
echo "(process, repaint: ms of wall time; user, sys: ms of CPU; ns/line: wall, user ns: user CPU)"
echo
echo "cost per line by size, ns of wall time (of user CPU):"
printf '  %-10s' operation
for n in "${sizes[@]}"; do printf ' %20s' "$n"; done
echo
for label in dd cc shift xx "xx relayout"; do
  printf '  %-10s' "$([[ $label == shift ]] && echo '((' || echo "$label")"
  for n in "${sizes[@]}"; do printf ' %20s' "${best[$n/$label/ns]} (${best[$n/$label/userns]})"; done
  echo
done
echo "CC copies half of each file; the other operations take every line. The least of each"
echo "figure is kept on its own, so a row's parts need not add up to its total."
echo "checks passed in every run (kiv and peers); files unchanged after the runs (md5)"
