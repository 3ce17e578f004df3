#!/usr/bin/env bash
# Packs a build folder (scripts/package.sh --from, with lintian and appstreamcli), installs
# the packages with apt-get and runs the installed `corvane --headless --simulate` for 30 s
# as the corvane user the package made: a month database must appear in its program
# directory.
#
#   scripts/package-check.sh [BUILD_DIR]     default build/
#
# It installs packages into the system, so it runs only in CI's throwaway root (CI=true) or
# when asked with CORVANE_PACKAGE_CHECK=1, as root.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}

if [ "${CI:-}" != true ] && [ "${CORVANE_PACKAGE_CHECK:-}" != 1 ]; then
  echo "package check skipped: it installs the packages (CI does; CORVANE_PACKAGE_CHECK=1 to run it here)"
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "package check: needs root to install the packages" >&2
  exit 2
fi

scripts/package.sh --from "$dir"

echo "== installing the packages"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "$PWD/$dir"/packages/corvane_*.deb "$PWD/$dir"/packages/libquillon1_*.deb
id corvane

echo "== the installed corvane --headless --simulate, 30 s"
home=$(mktemp -d "${TMPDIR:-/tmp}/corvane-package-check.XXXXXX")
trap 'rm -rf "$home"' EXIT
chown corvane: "$home"
log=$home/corvane.log
status=0
# Still running after 30 s is the good outcome: timeout then says 124.
runuser -u corvane -- timeout -k 10 30 env CORVANE_HOME="$home" /usr/bin/corvane \
  --headless --simulate >"$log" 2>&1 || status=$?
months=("$home"/[A-Z][A-Z][A-Z][0-9][0-9][0-9][0-9].MDB)
if [ "$status" -ne 124 ] || [ ! -f "${months[0]}" ] ||
   [ "$(head -c 15 "${months[0]}")" != "SQLite format 3" ]; then
  echo "package check FAILED: exit $status (124 expected), files:" >&2
  ls -l "$home" >&2
  tail -n 30 "$log" >&2
  exit 1
fi
echo "package check passed: $(basename "${months[0]}") written by the installed corvane"
