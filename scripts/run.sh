#!/usr/bin/env bash
# Installs what is missing, builds corvane and starts it on the built-in simulated console.
# Arguments go to corvane: ./scripts/run.sh --headless runs it without windows.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
CORVANE_BUILD_TARGET=corvane scripts/build.sh
exec "${CORVANE_BUILD_DIR:-build}/app/corvane" --simulate "$@"
