#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/build.sh
build_dir="${CORVANE_BUILD_DIR:-build}"
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)")

# Bounded fuzzing of the byte and file parsers with libFuzzer (clang).
CORVANE_FUZZ_SECONDS="${CORVANE_FUZZ_SECONDS:-30}" scripts/fuzz.sh
