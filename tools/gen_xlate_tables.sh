#!/usr/bin/env bash
# Builds the translate-table generator and writes KivXlateTbl1.txt ..
# KivXlateTbl6.txt into share/kiv/Profiles (or the directory given).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$here/share/kiv/Profiles}"
"$here/scripts/install-deps.sh"
build="$here/build/tools"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here/tools" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$build" --target kiv_gen_xlate_tables -- -j2 >/dev/null
mkdir -p "$out"
"$build/kiv_gen_xlate_tables" "$out"
