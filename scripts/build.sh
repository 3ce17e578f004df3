#!/usr/bin/env bash
# Configures and builds corvane, quillon, the tests and the benchmarks in build/
# (only the target named by CORVANE_BUILD_TARGET, when set).
set -euo pipefail
cd "$(dirname "$0")/.."

export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
build_dir="${CORVANE_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_CCACHE=ON "$@"
cmake --build "$build_dir" -j "$(nproc)" ${CORVANE_BUILD_TARGET:+--target "$CORVANE_BUILD_TARGET"}
