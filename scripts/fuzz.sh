#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each in turn.
#   scripts/fuzz.sh [seconds per harness] [harness ...]   e.g. scripts/fuzz.sh 60 framehandler
# The time may also come from CORVANE_FUZZ_SECONDS (default 60). CORVANE_FUZZ_RUNS=N stops each
# harness after N inputs instead. Each harness keeps its corpus in build-fuzz/corpus-<name>/
# and starts from the committed seeds in fuzz/seeds/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${CORVANE_FUZZ_SECONDS:-60}}"
shift || true
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVANE_BUILD_FUZZERS=ON -DCORVANE_CCACHE=ON -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCHMARKS=OFF >/dev/null
if [ $# -gt 0 ]; then
  targets=$(printf 'fuzz_%s\n' "${@#fuzz_}")
else
  targets=$(sed -n 's/^corvane_add_fuzzer(\(fuzz_[a-z_]*\).*/\1/p' fuzz/CMakeLists.txt)
fi
cmake --build build-fuzz -j "$(nproc)" --target $targets

# A small allocator quarantine keeps the use-after-free checks while holding memory flat over
# millions of inputs; an input that makes memory climb past the limit counts as a failure.
# Without malloc_context_size=0 the sanitizer keeps every distinct call stack that allocated,
# for ever: a few MB per million inputs. Run a saved input again with ASAN_OPTIONS= to see the
# allocation and free stacks of a report.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16:detect_leaks=1:malloc_context_size=0}"
limit=(-max_total_time="$seconds")
[ -n "${CORVANE_FUZZ_RUNS:-}" ] && limit=(-runs="$CORVANE_FUZZ_RUNS")
failed=0
for t in $targets; do
  name="${t#fuzz_}"
  corpus="build-fuzz/corpus-$name"
  mkdir -p "$corpus"
  # Longer inputs than these only repeat what shorter ones already reach.
  case "$name" in
    framehandler) max_len=128 ;; # four frames or so, in pieces
    replymatcher) max_len=512 ;;
    config) max_len=4096 ;;      # a real file is about 1 KB
    *) max_len=1024 ;;
  esac
  echo "== $t (${limit[*]})"
  if ! "build-fuzz/fuzz/$t" "${limit[@]}" -max_len="$max_len" -rss_limit_mb=512 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/$name-" "$corpus" \
      $( [ -d "fuzz/seeds/$name" ] && echo "fuzz/seeds/$name" ) 2>"build-fuzz/$t.log"; then
    tail -n 40 "build-fuzz/$t.log"
    failed=1
  else
    grep -E '^#[0-9]+[[:space:]]+DONE' "build-fuzz/$t.log" | tail -n 1 || true
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "build-fuzz/$t.log" || true
  fi
done
exit $failed
