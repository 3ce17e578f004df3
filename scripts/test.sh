#!/usr/bin/env bash
# Installs what is missing, checks that program code never nests an event loop or blocks, builds
# everything and runs every test, then a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/check-event-loops.sh
scripts/build.sh
build_dir="${CORVANE_BUILD_DIR:-build}"
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)")

# Bounded fuzzing of the byte and file parsers with libFuzzer (clang).
CORVANE_FUZZ_SECONDS="${CORVANE_FUZZ_SECONDS:-30}" scripts/fuzz.sh
