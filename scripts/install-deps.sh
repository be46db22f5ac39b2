#!/usr/bin/env bash
# Installs the Debian packages kiv needs to build, test and benchmark.
# Runs as root or through sudo; does nothing when everything is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libncurses-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  tmux ncurses-term libpcre2-dev libutf8proc-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  echo "installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
