#!/usr/bin/env bash
# Fails, naming the lines, when program code runs a nested event loop or blocks: every job
# waits by arming a timer or listening for a signal. Tests, benchmarks and fuzzers may.
set -euo pipefail
cd "$(dirname "$0")/.."

pattern='QEventLoop|processEvents|waitFor(ReadyRead|BytesWritten|Started|Finished|Connected)'
pattern+='|QThread::(sleep|msleep|usleep)|this_thread::sleep'

sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard -- '*.cpp' '*.cc' '*.h' '*.hpp' \
            ':!tests/' ':!bench/' ':!fuzz/'
    else
        find . \( -path ./tests -o -path ./bench -o -path ./fuzz -o -path './build*' \) -prune \
            -o -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.h' -o -name '*.hpp' \) -print
    fi
}

hits=$(sources | xargs -r grep -nE "$pattern" || true)
if [ -n "$hits" ]; then
    echo "Program code must not run a nested event loop or block; found:" >&2
    echo "$hits" >&2
    exit 1
fi
