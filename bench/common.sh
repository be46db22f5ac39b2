# Shared by the benchmark scripts (sourced after `here` is set): the peers'
# packages, the release build of a benchmark program, the generated file.
# shellcheck shell=bash

# Installs the build dependencies and then the given peer packages.
install_peers() {
  "$here/scripts/install-deps.sh"
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  local SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  echo "installing for the benchmark: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Builds a benchmark target in the release folder (KIV_BENCH_BUILD, default
# build/bench) and prints the program's path; a failed build says so and
# fails.
build_bench() {
  local build="${KIV_BENCH_BUILD:-$here/build/bench}"
  if ! cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BENCH=ON \
      -DKIV_TESTS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null ||
     ! cmake --build "$build" --target "$1" -- -j2 >/dev/null; then
    echo "building $1 failed; cmake --build $build --target $1 shows why" >&2
    return 1
  fi
  echo "$build/bench/$1"
}

# Records of exactly 80 bytes: an 8-digit number, a blank, 71 varied
# letters. Kept when the file is already there.
make_records() {  # make_records FILE COUNT
  [[ -s "$1" ]] && return 0
  echo "generating $2 records of 80 bytes in $1"
  awk -v n="$2" 'BEGIN {
    s = "the quick brown fox jumps over the lazy dog THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789 ";
    s = s s;
    for (i = 1; i <= n; i++) printf "%08d %s\n", i, substr(s, 1 + i % 97, 71);
  }' >"$1"
}

# Records of 80 bytes of UTF-8 text mixing accented Latin, Greek, Cyrillic
# and CJK words (a serial, then whole words up to the 79th byte, blanks after
# them): the same size as make_records' file, most lines not plain ASCII.
make_mixed_records() {  # make_mixed_records FILE COUNT
  [[ -s "$1" ]] && return 0
  echo "generating $2 mixed UTF-8 records of 80 bytes in $1"
  LC_ALL=C awk -v n="$2" 'BEGIN {
    split("café naïve 東京 大阪 über ελληνικά привет 漢字 テスト señor fox the 문서 Ärger jump", w, " ");
    for (i = 1; i <= n; i++) {
      line = sprintf("%08d", i);
      for (k = i; ; k++) {
        word = w[1 + k % 16];
        if (length(line) + 1 + length(word) > 79) break;
        line = line " " word;
      }
      while (length(line) < 79) line = line " ";
      print line;
    }
  }' >"$1"
}

# make_records, or make_mixed_records when MIXED_TEXT is 1.
make_text_records() {  # make_text_records FILE COUNT
  if [[ "${MIXED_TEXT:-0}" == 1 ]]; then make_mixed_records "$@"; else make_records "$@"; fi
}

# The smallest of a list of numbers.
least() { printf '%s\n' "$@" | sort -g | head -1; }

# Milliseconds a command line (run with eval) took, wall clock.
elapsed_ms() {
  local start end
  start=$EPOCHREALTIME
  eval "$1"
  end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", (b - a) * 1000 }'
}

# The first number after "label: " in a benchmark program's output.
total_of() {  # output label
  awk -F': ' -v l="$2" '$1 == l { split($2, v, " "); print v[1]; exit }' <<<"$1"
}
# The number of the part of that line that matches a pattern.
field_of() {  # output label pattern (a regular expression ending in the unit)
  awk -F': ' -v l="$2" -v p="$3" '$1 == l { if (match($2, p)) { f = substr($2, RSTART, RLENGTH);
    gsub(/[^0-9.]+/, " ", f); split(f, v, " "); print v[1] } exit }' <<<"$1"
}

# Keeps the least value under a key in the caller's associative array best.
keep_least() {  # key value
  local old="${best[$1]:-}"
  if [[ -z "$old" ]] || awk -v a="$2" -v b="$old" 'BEGIN { exit !(a < b) }'; then best[$1]="$2"; fi
}

# Keeps the least of each figure of the labelled lines of one run: the
# total, its first part (FIRST_PART, default "command"), the repaint, user
# and system CPU, and the costs a line.
keep_figures() {  # size output label...
  local n="$1" out="$2" label first="${FIRST_PART:-command}"
  shift 2
  for label in "$@"; do
    keep_least "$n/$label/ms" "$(total_of "$out" "$label")"
    keep_least "$n/$label/$first" "$(field_of "$out" "$label" "$first [0-9.]+ ms")"
    keep_least "$n/$label/repaint" "$(field_of "$out" "$label" 'repaint [0-9.]+ ms')"
    keep_least "$n/$label/user" "$(field_of "$out" "$label" 'user [0-9.]+ ms')"
    keep_least "$n/$label/sys" "$(field_of "$out" "$label" 'sys [0-9.]+ ms')"
    keep_least "$n/$label/ns" "$(field_of "$out" "$label" '[0-9.]+ ns/line')"
    keep_least "$n/$label/userns" "$(field_of "$out" "$label" 'user [0-9.]+ ns/line')"
  done
}
