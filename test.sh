#!/usr/bin/env bash
# Installs what is missing, builds kiv and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test through ctest.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
build="$here/build/asan"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIV_SANITIZE=ON \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DKIV_TESTS=ON -DKIV_WERROR=ON >/dev/null
cmake --build "$build"
cd "$build"
ctest -j2 --output-on-failure "$@"
