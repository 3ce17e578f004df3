#!/usr/bin/env bash
# Builds and runs every benchmark (release build in build-bench/).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
CORVANE_BUILD_DIR=build-bench scripts/build.sh -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF
for b in build-bench/bench/*/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$@"
done
