#!/usr/bin/env bash
# Installs what is missing, checks that program code never nests an event loop or blocks, builds
# everything and runs every test, checks the Debian packages, then a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/check-event-loops.sh
scripts/build.sh
build_dir="${CORVANE_BUILD_DIR:-build}"
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)")
# The packages of that tree, installed and run (in CI only: it installs into the system).
scripts/package-check.sh "$build_dir"

# Bounded fuzzing of the byte and file parsers with libFuzzer (clang).
CORVANE_FUZZ_SECONDS="${CORVANE_FUZZ_SECONDS:-30}" scripts/fuzz.sh
