#!/usr/bin/env bash
# FIND, CHANGE and EXCLUDE with ALL on big files: times kiv_findbench on
# files of 80-byte records of words (100,000 and 1,000,000 lines; with --big
# also 10,000,000, some 1.2 GB loaded) and prints, for every size, each
# command's time, its cost per line and the peer's time on the same file:
#   FIND falcon ALL              peers: grep -ci falcon, grep -c falcon
#   FIND C'Falcon' ALL           peer:  grep -c Falcon
#   FIND R'falc[o]n' ALL         peer:  grep -cP 'falc[o]n'
#   CHANGE falcon osprey ALL     peer:  sed 's/falcon/osprey/gI' FILE >/dev/null
#   CHANGE falcon peregrine ALL  peer:  sed 's/falcon/peregrine/gI' FILE >/dev/null
#   EXCLUDE falcon ALL           peer:  grep -vci falcon (the lines kept)
#   undo: CHANGE falcon peregrine ALL, then UNDO, then REDO, each timed;
#         and the undo journal's bytes after the change     no peer
#   undodd: DD on the first and the last line (the whole file), then UNDO,
#         each timed                                        no peer
# The counting peers write their count to a file: with its output on
# /dev/null grep stops at the first match.
# In the files "falcon" stands on one line in ten, on one in a hundred twice,
# in four cases in turn (falcon, Falcon, FALCON, falCon); the generator
# writes its tallies beside the file, the program checks kiv's counts and
# changed lines against them and the script checks every peer's count (and
# the changed text of sed once); after UNDO the program checks every text
# against a checksum taken before the change (after REDO, after it). A wrong
# count or text fails the script.
# Each kiv command runs in a process of its own on a freshly loaded file
# (the load not counted), is typed as on the command row and followed by one
# repaint; each figure is the least of --runs runs, each peer the least of 3
# runs, timed with the shell's clock. A "scan" run times the walk over the
# lines alone and the matcher alone over every line, for each search string.
# The bars: FIND ALL at most the grep peer's time, CHANGE ALL at most half of
# sed's, UNDO at most the time of the change or the DD it takes back, the
# undo journal after the CHANGE at most 1.25 times the changed lines' old
# text plus 48 bytes a line (its records), the cost per line flat with the
# size (the largest size's ns/line at most 1.25 times the least of the
# smaller sizes'; the undo figures per line of the file too). A missed bar is
# reported, it does not fail the script. The files' checksums are compared
# before and after: the benchmark never writes them.
#
# With --utf8 only FIND ALL is timed (any case, exact and R'..'), on the
# words file beside a UTF-8 file of the same size and lines: words of
# accented Latin and CJK (a third of the bytes beyond ASCII) where
# "fälcon" (fälcon, Fälcon, FÄLCON, fälCon) stands where the words file has
# "falcon", searched as FIND fälcon ALL, FIND C'Fälcon' ALL and
# FIND R'fälc[o]n' ALL in a task whose character set is UTF-8. The bar:
# at most twice the words file's figure.
#
# Usage: bench/find.sh [--big] [--utf8] [--sizes "N N ..."] [--runs N] [--keep]
#   --big    add the 10,000,000-line file
#   --utf8   the UTF-8 comparison instead
#   --keep   keep the generated files (in $KIV_BENCH_DIR or a temp folder)
# KIV_BENCH_BUILD chooses the release build folder (default build/bench).
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")/.." && pwd)"

sizes=(100000 1000000)
runs=3
keep=0
utf8=0
while (($#)); do
  case "$1" in
    --big) sizes+=(10000000) ;;
    --utf8) utf8=1 ;;
    --sizes) read -r -a sizes <<<"$2"; shift ;;
    --runs) runs="$2"; shift ;;
    --keep) keep=1 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

# shellcheck source=common.sh
source "$here/bench/common.sh"
install_peers grep sed
findbench=$(build_bench kiv_findbench) || exit 1

work="${KIV_BENCH_DIR:-$(mktemp -d /tmp/kivfind-XXXXXX)}"
mkdir -p "$work"
((keep)) || trap 'rm -rf "$work"' EXIT

ops=(find findc regex change changelong exclude)
# The figures of the undo runs: the change or the DD, the UNDO, the REDO.
undo_labels=("undo change" "undo undo" "undo redo")
undodd_labels=("undodd dd" "undodd undo")

# Lines of exactly 80 bytes (lengths in bytes: the C locale): words of a
# vocabulary separated by one blank and padded with blanks; a form of the
# searched word as the (i/10 % 5)th word of every tenth line, and two words
# later again on every hundredth. COUNTS gets "name occurrences lines" for
# the word in any case, in its second form (exact) and in its first (lower
# case). Kept with its tallies when both are already there.
make_word_lines() {  # make_word_lines FILE COUNT COUNTS VOCABULARY FORMS
  [[ -s "$1" && -s "$3" ]] && return 0
  echo "generating $2 lines of 80 bytes in $1"
  LC_ALL=C awk -v n="$2" -v counts="$3" -v vocabulary="$4" -v forms="$5" 'BEGIN {
    nv = split(vocabulary, v, " ");
    nforms = split(forms, form, " ");
    seed = 12345; k = 0;
    for (i = 1; i <= n; i++) {
      hit = i % 10 == 0; twice = i % 100 == 0; p = int(i / 10) % 5;
      s = ""; w = 0; occ = 0; ex = 0; lo = 0;
      while (1) {
        if (hit && (w == p || (twice && w == p + 2))) {
          word = form[k % nforms + 1]; k++; occ++;
          if (word == form[2]) ex++;
          if (word == form[1]) lo++;
        } else {
          seed = (seed * 69069 + 1) % 4294967296;  # exact in a double
          word = v[int(seed / 65536) % nv + 1];
        }
        if (length(s) + (w > 0) + length(word) > 80) break;
        s = w > 0 ? s " " word : word; w++;
      }
      printf "%-80s\n", s;
      any += occ; anyl += occ > 0; exo += ex; exl += ex > 0; low += lo; lowl += lo > 0;
    }
    printf "any %d %d\nexact %d %d\nlower %d %d\n", any, anyl, exo, exl, low, lowl >counts;
  }' >"$1"
}

# A mixed-case vocabulary that holds neither falcon, osprey nor peregrine.
make_words() {  # make_words FILE COUNT COUNTS
  make_word_lines "$@" "the of and to in is for on that with as by at from record field value Data \
Report account Total customer Order Number date STATUS amount line file Page system update Batch \
table index code Name type Code region Entry North south West east Stock price Unit ledger Branch \
FINAL draft Monthly summary" "falcon Falcon FALCON falCon"
}

# The same with words of accented Latin and CJK, and the forms of "fälcon".
make_mixed() {  # make_mixed FILE COUNT COUNTS
  make_word_lines "$@" "été über año café naïve Straße garçon déjà façade crème the of data résumé \
Ørsted Ålborg smörgåsbord ÉCOLE Øre 東京 日本語 漢字 中文 数据 报告 客户 价格 北京 大阪 記録 番号 日付 \
状態 金額 更新 København Zürich señor niño Ärger" "fälcon Fälcon FÄLCON fälCon"
}

# --utf8: FIND ALL on the words file and on the UTF-8 file, the least of
# --runs runs each, side by side.
compare_utf8() {
  local n op kind file counts r out label ms flag
  declare -A ms_of=()
  for n in "${sizes[@]}"; do
    make_words "$work/words-$n.txt" "$n" "$work/words-$n.counts"
    make_mixed "$work/mixed-$n.txt" "$n" "$work/mixed-$n.counts"
    for kind in words mixed; do
      file="$work/$kind-$n.txt" counts="$work/$kind-$n.counts" flag=()
      [[ $kind == mixed ]] && flag=(--utf8)
      for ((r = 0; r < runs; r++)); do
        for op in find findc regex; do
          if ! out=$(nice "$findbench" "${flag[@]}" --ops "$op" --lines "$n" \
              --counts "$counts" "$file" 2>"$work/$n.err"); then
            echo "kiv_findbench --ops $op failed on $file:" >&2
            printf '%s\n' "$out" >&2
            cat "$work/$n.err" >&2
            exit 1
          fi
          ms=$(total_of "$out" "$op")
          label="$n/$kind/$op"
          if [[ -z "${ms_of[$label]:-}" ]] || awk -v a="$ms" -v b="${ms_of[$label]}" 'BEGIN { exit !(a < b) }'; then
            ms_of[$label]=$ms
          fi
        done
      done
    done
    ((keep)) || rm -f "$work/words-$n.txt" "$work/words-$n.counts" "$work/mixed-$n.txt" "$work/mixed-$n.counts"
  done
  echo
  echo "FIND ALL on lines of 80 bytes, the least of $runs runs (ms: the command and one repaint)"
  printf '%-9s %-22s %-24s %9s %9s %7s  %s\n' lines ASCII "UTF-8" "ASCII ms" "UTF-8 ms" ratio bar
  for n in "${sizes[@]}"; do
    for op in find findc regex; do
      case "$op" in
        find) a="FIND falcon ALL"; u="FIND fälcon ALL" ;;
        findc) a="FIND C'Falcon' ALL"; u="FIND C'Fälcon' ALL" ;;
        regex) a="FIND R'falc[o]n' ALL"; u="FIND R'fälc[o]n' ALL" ;;
      esac
      awk -v n="$n" -v a="$a" -v u="$u" -v x="${ms_of[$n/words/$op]}" -v y="${ms_of[$n/mixed/$op]}" 'BEGIN {
        printf "%-9s %-22s %-24s %9.2f %9.2f %6.2fx  %s\n", n, a, u, x, y, y / x, y <= 2 * x ? "met (<=2x)" : "missed (<=2x)";
      }'
    done
  done
}

# The least of 3 runs of a counting peer, whose count (written to the file
# $work/count) is checked after every run.
peer_count() {  # command wanted
  local values=() r got
  for ((r = 0; r < 3; r++)); do
    values+=("$(elapsed_ms "$1 >'$work/count'")")
    got=$(cat "$work/count")
    [[ $got == "$2" ]] || { echo "peer $1 counted $got, expected $2" >&2; exit 1; }
  done
  least "${values[@]}"
}
best_of_3() {
  local values=() r
  for ((r = 0; r < 3; r++)); do values+=("$(elapsed_ms "$1")"); done
  least "${values[@]}"
}

if ((utf8)); then
  compare_utf8
  exit 0
fi

declare -A best=() peer=() tally=() journal=()

# sed's changed text, checked once (untimed): every falcon gone, the new
# word as many times as falcon was there, no line lost.
check_sed() {  # file lines with occurrences
  local out="$work/sed.out" made left
  sed "s/falcon/$3/gI" "$1" >"$out"
  made=$(grep -o "$3" "$out" | wc -l)
  left=$(grep -ci falcon "$out" || true)
  [[ $made -eq $4 && $left -eq 0 && $(wc -l <"$out") -eq $2 ]] ||
    { echo "peer sed s/falcon/$3/gI changed $made (left $left), expected $4" >&2; exit 1; }
  rm -f "$out"
}

for n in "${sizes[@]}"; do
  file="$work/words-$n.txt"
  counts="$work/words-$n.counts"
  make_words "$file" "$n" "$counts"
  while read -r name occ lines; do tally[$n/$name/occ]=$occ; tally[$n/$name/lines]=$lines; done <"$counts"
  sum=$(md5sum <"$file")  # also puts the file in the page cache
  echo "measuring $n lines: $runs runs of kiv_findbench, peers best of 3"
  for ((r = 0; r < runs; r++)); do
    for op in "${ops[@]}" undo undodd scan; do
      if ! out=$(nice "$findbench" --ops "$op" --lines "$n" --counts "$counts" "$file" 2>"$work/$n.err"); then
        echo "kiv_findbench --ops $op failed on $file:" >&2
        printf '%s\n' "$out" >&2
        cat "$work/$n.err" >&2
        exit 1
      fi
      if [[ $op == scan ]]; then
        keep_figures "$n" "$out" "scan walk" "scan matcher" "scan matcher C" "scan matcher R"
      elif [[ $op == undo ]]; then
        keep_figures "$n" "$out" "${undo_labels[@]}"
        journal[$n]=$(grep '^undo journal: ' <<<"$out")
      elif [[ $op == undodd ]]; then
        keep_figures "$n" "$out" "${undodd_labels[@]}"
        journal[$n/dd]=$(grep '^undodd journal: ' <<<"$out")
      else
        keep_figures "$n" "$out" "$op"
      fi
    done
  done
  any=${tally[$n/any/lines]}
  peer[$n/find]=$(peer_count "nice grep -ci falcon '$file'" "$any")
  peer[$n/find-c]=$(peer_count "nice grep -c falcon '$file'" "${tally[$n/lower/lines]}")
  peer[$n/findc]=$(peer_count "nice grep -c Falcon '$file'" "${tally[$n/exact/lines]}")
  peer[$n/regex]=$(peer_count "nice grep -cP 'falc[o]n' '$file'" "${tally[$n/lower/lines]}")
  check_sed "$file" "$n" osprey "${tally[$n/any/occ]}"
  check_sed "$file" "$n" peregrine "${tally[$n/any/occ]}"
  peer[$n/change]=$(best_of_3 "nice sed 's/falcon/osprey/gI' '$file' >/dev/null")
  peer[$n/changelong]=$(best_of_3 "nice sed 's/falcon/peregrine/gI' '$file' >/dev/null")
  peer[$n/exclude]=$(peer_count "nice grep -vci falcon '$file'" "$((n - any))")
  if [[ "$sum" != "$(md5sum <"$file")" ]]; then
    echo "the benchmark changed $file" >&2
    exit 1
  fi
  ((keep)) || rm -f "$file" "$counts"
done

# The bar of an operation against its peer: "met"/"missed", or "-".
bar_of() {  # op kiv_ms peer_ms
  case "$1" in
    find | findc | regex) awk -v a="$2" -v b="$3" 'BEGIN { print a <= b ? "met (<=1x)" : "missed (<=1x)" }' ;;
    change | changelong) awk -v a="$2" -v b="$3" 'BEGIN { print a <= b / 2 ? "met (<=0.5x)" : "missed (<=0.5x)" }' ;;
    *) echo "-" ;;
  esac
}

echo
echo "lines of 80 bytes and a line feed; load average $(cut -d' ' -f1-3 /proc/loadavg); peers in" \
  "locale ${LC_ALL:-${LC_CTYPE:-${LANG:-POSIX}}}"
echo "kiv: the command typed + one repaint, each the least of $runs runs (one process per command,"
echo "the load not counted); peers the least of 3 runs"
printf '%-9s %-28s %9s %9s %8s %8s %7s %8s %8s  %-24s %9s %7s  %s\n' lines command "kiv ms" command repaint \
  "user" "sys" "ns/line" "user ns" peer "peer ms" ratio bar
for n in "${sizes[@]}"; do
  for op in "${ops[@]}"; do
    case "$op" in
      find) name="FIND falcon ALL"; pname="grep -ci falcon" ;;
      findc) name="FIND C'Falcon' ALL"; pname="grep -c Falcon" ;;
      regex) name="FIND R'falc[o]n' ALL"; pname="grep -cP 'falc[o]n'" ;;
      change) name="CHANGE falcon osprey ALL"; pname="sed s/falcon/osprey/gI" ;;
      changelong) name="CHANGE falcon peregrine ALL"; pname="sed s/../peregrine/gI" ;;
      exclude) name="EXCLUDE falcon ALL"; pname="grep -vci falcon" ;;
    esac
    ms=${best[$n/$op/ms]} p=${peer[$n/$op]}
    awk -v n="$n" -v l="$name" -v ms="$ms" -v c="${best[$n/$op/command]}" -v rp="${best[$n/$op/repaint]}" \
      -v us="${best[$n/$op/user]}" -v sy="${best[$n/$op/sys]}" -v ns="${best[$n/$op/ns]}" \
      -v uns="${best[$n/$op/userns]}" -v pn="$pname" -v p="$p" -v bar="$(bar_of "$op" "$ms" "$p")" 'BEGIN {
      printf "%-9s %-28s %9.2f %9.2f %8.3f %8.1f %7.1f %8.1f %8.1f  %-24s %9.2f %6.2fx  %s\n", n, l, ms, c, rp, us, sy,
        ns, uns, pn, p, ms / p, bar;
    }'
    if [[ $op == find ]]; then
      # The same count in one case: grep's fast path, shown beside; the bar is grep -ci's.
      awk -v n="$n" -v ms="$ms" -v p="${peer[$n/find-c]}" 'BEGIN {
        printf "%-9s %-28s %9s %9s %8s %8s %7s %8s %8s  %-24s %9.2f %6.2fx  %s\n", n, "", "", "", "", "", "", "", "",
          "grep -c falcon", p, ms / p, "-";
      }'
    fi
  done
  # The undo rows: no peer; the ratio is to the change or the DD taken back.
  for label in "${undo_labels[@]}" "${undodd_labels[@]}"; do
    case "$label" in
      "undo change") name="CHANGE falcon peregrine ALL"; base="" ;;
      "undo undo") name="  UNDO (that CHANGE)"; base="undo change" ;;
      "undo redo") name="  REDO (that CHANGE)"; base="undo change" ;;
      "undodd dd") name="DD on lines 1 and $n"; base="" ;;
      "undodd undo") name="  UNDO (that DD)"; base="undodd dd" ;;
    esac
    ms=${best[$n/$label/ms]}
    awk -v n="$n" -v l="$name" -v ms="$ms" -v c="${best[$n/$label/command]}" \
      -v rp="${best[$n/$label/repaint]}" -v us="${best[$n/$label/user]}" -v sy="${best[$n/$label/sys]}" \
      -v ns="${best[$n/$label/ns]}" -v uns="${best[$n/$label/userns]}" -v b="${base:+${best[$n/$base/ms]}}" \
      -v bar="$([[ $label == *" undo" ]] && echo 1 || echo 0)" 'BEGIN {
      ratio = b == "" ? "-" : sprintf("%.2fx", ms / b);
      verdict = !bar ? "-" : (ms <= b ? "met (<=1x)" : "missed (<=1x)");
      printf "%-9s %-28s %9.2f %9.2f %8.3f %8.1f %7.1f %8.1f %8.1f  %-24s %9s %7s  %s\n", n, l, ms, c, rp, us, sy,
        ns, uns, "-", "-", ratio, verdict;
    }'
  done
done
echo "(command, repaint: ms of wall time; user, sys: ms of CPU, the system time mostly the kernel"
echo "clearing fresh pages for new lines and texts; ns/line: wall, user ns: user CPU; the ratio of"
echo "UNDO and REDO is to the CHANGE or the DD above them, the least of each against the least)"
echo
echo "the undo journal after CHANGE falcon peregrine ALL (UndoStack::bytes: the records' and texts'"
echo "reserved capacity) against the changed lines' old text + 48 bytes a line, met at 1.25x or less:"
printf '  %-9s %8s %10s %10s %10s %10s %10s %8s %12s  %s\n' lines changed "old text" expected bytes \
  records texts ratio "B/line+text" bar
for n in "${sizes[@]}"; do
  j="${journal[$n]}"
  awk -v n="$n" -v b="$(total_of "$j" "undo journal")" -v ch="$(field_of "$j" "undo journal" '[0-9]+ lines changed')" \
    -v ot="$(field_of "$j" "undo journal" 'old text [0-9]+')" -v ex="$(field_of "$j" "undo journal" 'expected [0-9]+')" \
    -v rr="$(field_of "$j" "undo journal" 'records [0-9]+ bytes')" -v tr="$(field_of "$j" "undo journal" 'texts [0-9]+ bytes')" 'BEGIN {
    printf "  %-9s %8d %10d %10d %10d %10d %10d %7.3fx %12.1f  %s\n", n, ch, ot, ex, b, rr, tr, b / ex, (b - ot) / ch,
      b <= 1.25 * ex ? "met (<=1.25x)" : "missed (<=1.25x)";
  }'
done
echo "(records, texts: bytes reserved for each; B/line+text: bytes a changed line beyond its old"
echo "text, 48 when nothing is reserved ahead)"
for n in "${sizes[@]}"; do
  j="${journal[$n/dd]}"
  echo "  after DD of $n lines: $(total_of "$j" "undodd journal") bytes," \
    "$(field_of "$j" "undodd journal" '[0-9.]+ bytes/line') bytes a line (no texts: the lines themselves are kept)"
done
echo
echo "the walk and the matcher alone (no command), ms and ns per line of wall time:"
printf '  %-16s' scan
for n in "${sizes[@]}"; do printf ' %22s' "$n"; done
echo
for label in "scan walk" "scan matcher" "scan matcher C" "scan matcher R"; do
  case "$label" in
    "scan walk") what="walk over the lines" ;;
    "scan matcher") what="matcher falcon" ;;
    "scan matcher C") what="matcher C'Falcon'" ;;
    "scan matcher R") what="matcher R'falc[o]n'" ;;
  esac
  printf '  %-16s' "$what"
  for n in "${sizes[@]}"; do printf ' %22s' "${best[$n/$label/ms]} (${best[$n/$label/ns]} ns)"; done
  echo
done
echo
echo "cost per line by size, ns of wall time (of user CPU), and whether it stays flat: the largest"
echo "size's ns/line against the least of the smaller sizes', met at 1.25x or less (wall; user CPU"
echo "beside it, which other work on the machine disturbs less)"
printf '  %-12s' command
for n in "${sizes[@]}"; do printf ' %20s' "$n"; done
echo "  flat"
largest=${sizes[-1]}
for op in "${ops[@]}" "${undo_labels[@]}" "${undodd_labels[@]}"; do
  printf '  %-12s' "$op"
  wall="" user=""
  for n in "${sizes[@]}"; do
    printf ' %20s' "${best[$n/$op/ns]} (${best[$n/$op/userns]})"
    if [[ $n != "$largest" ]]; then
      wall=$(least ${wall:+"$wall"} "${best[$n/$op/ns]}")
      user=$(least ${user:+"$user"} "${best[$n/$op/userns]}")
    fi
  done
  if [[ -n "$wall" ]]; then
    awk -v a="${best[$largest/$op/ns]}" -v b="$wall" -v ua="${best[$largest/$op/userns]}" -v ub="$user" 'BEGIN {
      # Below a few ms the user CPU can read 0 (the kernel samples it in ticks).
      u = ub > 0 ? sprintf("%.2fx", ua / ub) : "-";
      printf "  %s (wall %.2fx, user CPU %s)\n", a <= 1.25 * b ? "met" : "missed", a / b, u;
    }'
  else
    echo "  - (one size)"
  fi
done
echo "checks passed in every run (kiv's counts and changed lines, the texts after UNDO and REDO,"
echo "every peer's count, sed's text once); files unchanged after the runs (md5)"
