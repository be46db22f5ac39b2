#!/usr/bin/env bash
# Installs what is missing, builds kiv (release) and runs it on the given files.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DKIV_TESTS=OFF >/dev/null
cmake --build "$here/build/release" --target kiv
exec "$here/build/release/src/app/kiv" "$@"
