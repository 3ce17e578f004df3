#!/usr/bin/env bash
# Installs the Debian 12 packages corvane needs to build, run and test. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev qt6-tools-dev qt6-tools-dev-tools
  libqt6sql6-sqlite libqt6svg6 libgl-dev
  libcurl4-openssl-dev libtiff-dev libsqlite3-dev sqlite3
  libgtest-dev libbenchmark-dev clang
  python3 python3-pyftpdlib
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
