#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for CORVANE_FUZZ_SECONDS seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${CORVANE_FUZZ_SECONDS:-60}"
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVANE_BUILD_FUZZERS=ON -DCORVANE_CCACHE=ON -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCHMARKS=OFF >/dev/null
targets=$(cmake --build build-fuzz --target help | sed -n 's/^\(fuzz_[a-z_]*\):.*/\1/p' | { grep -v '_autogen' || true; } | sort -u)
if [ -z "$targets" ]; then
  echo "no fuzz harnesses"
  exit 0
fi
cmake --build build-fuzz -j "$(nproc)" --target $targets
failed=0
for t in $targets; do
  corpus="build-fuzz/corpus-$t"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${t#fuzz_}"
  echo "== $t for ${seconds}s"
  if ! "build-fuzz/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 "$corpus" \
      $( [ -d "$seeds" ] && echo "$seeds" ) 2>"build-fuzz/$t.log"; then
    tail -n 40 "build-fuzz/$t.log"
    failed=1
  else
    grep -E 'stat::number_of_executed_units|Done' "build-fuzz/$t.log" | tail -n 2 || true
  fi
done
exit $failed
