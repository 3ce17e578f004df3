#!/usr/bin/env bash
# Builds and runs every benchmark (release build in build-bench/).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
# Only the benchmarks need gnuplot: the chart's JPEG export is timed against it.
if ! dpkg-query -W -f='${Status}' gnuplot-nox 2>/dev/null | grep -q "install ok installed"; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    echo "Installing: gnuplot-nox"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends gnuplot-nox
fi
CORVANE_BUILD_DIR=build-bench scripts/build.sh -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF
for b in build-bench/bench/*/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$@"
done
