#!/usr/bin/env bash
# Installs what is missing, builds corvane and starts it on the built-in simulated console.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/build.sh
exec "${CORVANE_BUILD_DIR:-build}/app/corvane" --simulate "$@"
