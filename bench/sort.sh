#!/usr/bin/env bash
# SORT on big files: times kiv_sortbench on files of 80-byte records
# (100,000 and 1,000,000 lines; with --big also 10,000,000, some 1.2 GB
# loaded) and prints, for every size, each command's time, its cost per line
# and the peer's time on the same file:
#   SORT 1 20                    peer: sort -s -k1.1,1.20 FILE >OUT
#   SORT A 1 20 D 21 28 A 29 32  peer: sort -s -k1.1,1.20 -k1.21,1.28r -k1.29,1.32 FILE >OUT
#   undo: SORT 1 20, then UNDO, then REDO, each timed; no peer
#   stages: no command: the stages of SORT 1 20 timed apart (the walk that
#         collects the lines, the keys and their stable sort, reorderLines),
#         to tell where the time goes; no peer
# The peers run with LC_ALL=C (byte order, as kiv compares), one thread
# (--parallel=1), -t '|' (a byte the files never hold: field 1 is the whole
# line, so 1.21 is column 21 whatever blanks the line holds), -s (stable: no
# last-resort comparison of whole lines) and a buffer (-S) big enough for the
# whole file, with TMPDIR on a folder that does not exist, so that a sort
# that spilled to temporary files would fail.
# The records: a name in columns 1-20 (1,000 names, so most keys repeat and
# stability shows), an amount right-aligned in 21-28 (400 values), a code in
# 29-32 (12 codes), words in 33-72 and the record's serial number in 73-80.
# The peer's output of each run must be the same (md5) and have every line;
# the program compares kiv's texts after SORT (and REDO) with it line for
# line, checks on its own that neighbours are in key order and equal keys
# in serial order, and compares the texts after UNDO with the file line for
# line. A wrong text fails the script.
# Each kiv command runs in a process of its own on a freshly loaded file
# (the load not counted), is typed as on the command row and followed by one
# repaint; each figure is the least of --runs runs, each peer the least of 3
# runs, timed with the shell's clock.
# The bars: SORT at most half of sort's time (set at 1,000,000 lines, shown
# at every size); UNDO at most the time of the SORT it takes back; the cost
# per line n log n flat: the ratio of ns/line of the largest size to the size
# before it at most 1.25 times the ratio n log n predicts (log2 N / log2 n;
# 1 for UNDO and REDO, which are linear). A missed bar is reported, it does
# not fail the script. The files' checksums are compared before and after:
# the benchmark never writes them.
#
# Usage: bench/sort.sh [--big] [--sizes "N N ..."] [--runs N] [--keep]
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
install_peers coreutils
sortbench=$(build_bench kiv_sortbench) || exit 1

work="${KIV_BENCH_DIR:-$(mktemp -d /tmp/kivsort-XXXXXX)}"
mkdir -p "$work"
((keep)) || trap 'rm -rf "$work"' EXIT

ops=(sort1 sort3)
undo_labels=("undo sort" "undo undo" "undo redo")
stage_labels=("stage collect" "stage sortByFields" "stage reorderLines")
keys1=("-k1.1,1.20")
keys3=("-k1.1,1.20" "-k1.21,1.28r" "-k1.29,1.32")

# Records of exactly 80 bytes: "SURNAME, First" in 1-20, an amount of
# 0.00-99.75 in steps of 0.25 right-aligned in 21-28, a code in 29-32, a
# blank and words in 33-72, the serial number 1..N in 73-80. Kept when it is
# already there.
make_sort_records() {  # make_sort_records FILE COUNT
  [[ -s "$1" ]] && return 0
  echo "generating $2 records of 80 bytes in $1"
  awk -v n="$2" '
  function rnd() { seed = (seed * 69069 + 1) % 4294967296; return int(seed / 65536) }  # exact in a double
  BEGIN {
    ns = split("ADAMS BAKER CARTER CLARK COLLINS COOK DAVIS EDWARDS EVANS FISHER GARCIA GREEN " \
               "HALL HARRIS HILL HUGHES JACKSON JAMES JONES KING LEE LEWIS MARTIN MILLER " \
               "MOORE MORGAN MORRIS NELSON PARKER PHILLIPS ROBERTS SCOTT SMITH TAYLOR TURNER " \
               "WALKER WARD WHITE WILSON WRIGHT", sur, " ");
    nf = split("Alice Bruno Carla Derek Elena Frank Grace Henry Irene Jonas Karen Louis Maria " \
               "Nigel Olga Peter Quinn Rosa Simon Tina Ulrich Vera Walter Xenia Yusuf", first, " ");
    nc = split("A100 A200 B110 B120 C300 D010 E555 F900 G001 H420 K777 Z999", code, " ");
    nv = split("the of and to in for on with by at from record field value report account " \
               "total customer order number date status amount line file page system update " \
               "batch table index region entry north south west east stock price unit ledger " \
               "branch final draft monthly summary", v, " ");
    seed = 4711;
    for (i = 1; i <= n; i++) {
      r = rnd();
      name = sur[r % ns + 1] ", " first[int(r / ns) % nf + 1];
      amount = sprintf("%8.2f", (rnd() % 400) * 0.25);
      c = code[rnd() % nc + 1];
      s = "";
      while (length(s) < 40) s = s " " v[rnd() % nv + 1];
      printf "%-20.20s%s%s%-40.40s%08d\n", name, amount, c, s, i;
    }
  }' >"$1"
  if grep -q '|' "$1" || [[ $(awk 'length($0) != 80' "$1" | wc -l) -ne 0 ]]; then
    echo "the generator wrote a line not of 80 bytes or a '|' in $1" >&2
    exit 1
  fi
}

# The least of 3 runs of the sort peer writing OUT; every run's output must
# have every line and be the same as the first's (md5).
peer_sort() {  # file out lines keys...
  local file="$1" out="$2" n="$3" values=() r sum="" got kib
  shift 3
  # A buffer of three times the file (sort keeps a line and its key
  # pointers), but at most half the memory there is.
  kib=$(($(stat -c %s "$file") * 3 / 1024 + 65536))
  local avail
  avail=$(awk '/^MemAvailable:/ { print int($2 / 2) }' /proc/meminfo)
  ((kib <= avail)) || kib=$avail
  local command="LC_ALL=C TMPDIR='$work/no-temporary-files' nice sort -s -t '|' ${*} --parallel=1 -S ${kib}K '$file' >'$out'"
  for ((r = 0; r < 3; r++)); do
    values+=("$(elapsed_ms "$command")")
    got=$(md5sum <"$out")
    [[ -z "$sum" ]] && sum=$got
    [[ $got == "$sum" && $(wc -l <"$out") -eq $n ]] ||
      { echo "peer sort $* gave another output in run $((r + 1)) (or lost lines)" >&2; exit 1; }
  done
  least "${values[@]}"
}

declare -A best=() peer=() journal=()

for n in "${sizes[@]}"; do
  file="$work/records-$n.txt"
  sorted1="$work/sorted1-$n.txt"
  sorted3="$work/sorted3-$n.txt"
  make_sort_records "$file" "$n"
  sum=$(md5sum <"$file")  # also puts the file in the page cache
  echo "measuring $n lines: peers best of 3, then $runs runs of kiv_sortbench"
  peer[$n/sort1]=$(peer_sort "$file" "$sorted1" "$n" "${keys1[@]}")
  peer[$n/sort3]=$(peer_sort "$file" "$sorted3" "$n" "${keys3[@]}")
  for ((r = 0; r < runs; r++)); do
    for op in "${ops[@]}" undo stages; do
      if ! out=$(nice "$sortbench" --ops "$op" --lines "$n" --sorted1 "$sorted1" --sorted3 "$sorted3" \
          "$file" 2>"$work/$n.err"); then
        echo "kiv_sortbench --ops $op failed on $file:" >&2
        printf '%s\n' "$out" >&2
        cat "$work/$n.err" >&2
        exit 1
      fi
      if [[ $op == undo ]]; then
        keep_figures "$n" "$out" "${undo_labels[@]}"
        journal[$n]=$(grep '^undo journal: ' <<<"$out")
      elif [[ $op == stages ]]; then
        keep_figures "$n" "$out" "${stage_labels[@]}"
      else
        keep_figures "$n" "$out" "$op"
      fi
    done
  done
  if [[ "$sum" != "$(md5sum <"$file")" ]]; then
    echo "the benchmark changed $file" >&2
    exit 1
  fi
  ((keep)) || rm -f "$file" "$sorted1" "$sorted3"
done

echo
echo "records of 80 bytes and a line feed; load average $(cut -d' ' -f1-3 /proc/loadavg); peers:"
echo "LC_ALL=C sort -s -t '|' KEYS --parallel=1 -S (3x the file) FILE >OUT"
echo "kiv: the command typed + one repaint, each the least of $runs runs (one process per command,"
echo "the load not counted); peers the least of 3 runs"
printf '%-9s %-28s %9s %9s %8s %8s %7s %8s %8s  %-42s %9s %7s  %s\n' lines command "kiv ms" command repaint \
  "user" "sys" "ns/line" "user ns" peer "peer ms" ratio bar
for n in "${sizes[@]}"; do
  for op in "${ops[@]}"; do
    case "$op" in
      sort1) name="SORT 1 20"; pname="sort ${keys1[*]}" ;;
      sort3) name="SORT A 1 20 D 21 28 A 29 32"; pname="sort ${keys3[*]}" ;;
    esac
    awk -v n="$n" -v l="$name" -v ms="${best[$n/$op/ms]}" -v c="${best[$n/$op/command]}" \
      -v rp="${best[$n/$op/repaint]}" -v us="${best[$n/$op/user]}" -v sy="${best[$n/$op/sys]}" \
      -v ns="${best[$n/$op/ns]}" -v uns="${best[$n/$op/userns]}" -v pn="$pname" -v p="${peer[$n/$op]}" 'BEGIN {
      printf "%-9s %-28s %9.2f %9.2f %8.3f %8.1f %7.1f %8.1f %8.1f  %-42s %9.2f %6.2fx  %s\n", n, l, ms, c, rp, us, sy,
        ns, uns, pn, p, ms / p, ms <= p / 2 ? "met (<=0.5x)" : "missed (<=0.5x)";
    }'
  done
  # The undo rows: no peer; the ratio is to the SORT taken back.
  for label in "${undo_labels[@]}"; do
    case "$label" in
      "undo sort") name="SORT 1 20 (for UNDO)" ;;
      "undo undo") name="  UNDO (that SORT)" ;;
      "undo redo") name="  REDO (that SORT)" ;;
    esac
    awk -v n="$n" -v l="$name" -v ms="${best[$n/$label/ms]}" -v c="${best[$n/$label/command]}" \
      -v rp="${best[$n/$label/repaint]}" -v us="${best[$n/$label/user]}" -v sy="${best[$n/$label/sys]}" \
      -v ns="${best[$n/$label/ns]}" -v uns="${best[$n/$label/userns]}" \
      -v b="$([[ $label == "undo sort" ]] || echo "${best[$n/undo sort/ms]}")" \
      -v bar="$([[ $label == "undo undo" ]] && echo 1 || echo 0)" 'BEGIN {
      ratio = b == "" ? "-" : sprintf("%.2fx", ms / b);
      verdict = !bar ? "-" : (ms <= b ? "met (<=1x)" : "missed (<=1x)");
      printf "%-9s %-28s %9.2f %9.2f %8.3f %8.1f %7.1f %8.1f %8.1f  %-42s %9s %7s  %s\n", n, l, ms, c, rp, us, sy,
        ns, uns, "-", "-", ratio, verdict;
    }'
  done
done
echo "(command, repaint: ms of wall time; user, sys: ms of CPU, the system time mostly the kernel"
echo "clearing fresh pages; ns/line: wall, user ns: user CPU; the ratio of UNDO and REDO is to the"
echo "SORT 1 20 of the same runs, the least of each against the least)"
echo
echo "the undo journal after SORT 1 20 (UndoStack::bytes: the records and the text blocks held):"
for n in "${sizes[@]}"; do
  j="${journal[$n]}"
  echo "  $n lines: $(total_of "$j" "undo journal") bytes," \
    "$(field_of "$j" "undo journal" '[0-9.]+ bytes/line') bytes a line"
done
echo
echo "the stages of SORT 1 20 alone (no command), ms and ns per line of wall time:"
printf '  %-44s' stage
for n in "${sizes[@]}"; do printf ' %24s' "$n"; done
echo
for label in "${stage_labels[@]}"; do
  case "$label" in
    "stage collect") what="walk collecting the TEXT lines" ;;
    "stage sortByFields") what="keys (1-20) and their stable sort" ;;
    "stage reorderLines") what="reorderLines (places traded in one pass)" ;;
  esac
  printf '  %-44s' "$what"
  for n in "${sizes[@]}"; do printf ' %24s' "${best[$n/$label/ms]} (${best[$n/$label/ns]} ns)"; done
  echo
done
echo
echo "cost per line by size, ns of wall time (of user CPU), and whether it stays n log n flat:"
echo "the ratio of ns/line of the largest size to the size before it (wall; user CPU beside it,"
echo "which other work on the machine disturbs less) against the ratio n log n predicts (log2 N /"
echo "log2 n for SORT; 1 for UNDO and REDO, which are linear), met at 1.25 times it or less; \"vs"
echo "least\" is the same against the least of all the smaller sizes (ns/line over log2 n for SORT)"
printf '  %-10s' command
for n in "${sizes[@]}"; do printf ' %20s' "$n"; done
printf '  %-30s %-8s %s\n' "last/prev wall, user (n log n)" flat "vs least"
largest=${sizes[-1]}
for op in "${ops[@]}" "${undo_labels[@]}"; do
  printf '  %-10s' "$op"
  logged=$([[ $op == sort* || $op == "undo sort" ]] && echo 1 || echo 0)
  wall="" prev=""
  for n in "${sizes[@]}"; do
    printf ' %20s' "${best[$n/$op/ns]} (${best[$n/$op/userns]})"
    if [[ $n != "$largest" ]]; then
      prev=$n
      wall=$(least ${wall:+"$wall"} "$(awk -v v="${best[$n/$op/ns]}" -v n="$n" -v g="$logged" \
        'BEGIN { printf "%.6f", g ? v / (log(n) / log(2)) : v }')")
    fi
  done
  if [[ -n "$prev" ]]; then
    awk -v a="${best[$largest/$op/ns]}" -v ua="${best[$largest/$op/userns]}" -v p="${best[$prev/$op/ns]}" \
      -v up="${best[$prev/$op/userns]}" -v b="$wall" -v big="$largest" -v small="$prev" -v g="$logged" 'BEGIN {
      f = g ? log(big) / log(small) : 1;
      na = g ? a / (log(big) / log(2)) : a;
      # Below a few ms the user CPU can read 0 (the kernel samples it in ticks).
      u = up > 0 ? sprintf("%.2fx", ua / up) : "-";
      printf "  %-30s %-8s %.2fx\n", sprintf("%.2fx, %s (%.2fx)", a / p, u, f), a / p <= 1.25 * f ? "met" : "missed",
        na / b;
    }'
  else
    echo "  - (one size)"
  fi
done
echo "checks passed in every run (kiv's texts after SORT and REDO equal to sort's output line for"
echo "line, in key order and stable by the serials; after UNDO equal to the file; every peer run"
echo "the same output); files unchanged after the runs (md5)"
