#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
build="$here/build/bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BENCH=ON -DKIV_TESTS=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$build" --target kiv_bench
"$build/bench/kiv_bench" "$@"
