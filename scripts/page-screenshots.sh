#!/usr/bin/env bash
# Pictures of the shipped current-conditions page (templates/current.htm) at a phone's and a
# desktop's width, taken by a headless Chromium, into docs/screenshots/ (or the folder
# given). The readings come from the console capture of the page tests, the five graphs from a
# generated month. Installs chromium when it is missing; not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/screenshots}"
build_dir="${CORVANE_BUILD_DIR:-build}"
scripts/deps.sh
if ! command -v chromium >/dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  echo "Installing: chromium"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    chromium fonts-dejavu-core
fi
if [ -f "$build_dir/build.ninja" ]; then
  cmake --build "$build_dir" --target corvane pagegraphs
else
  scripts/build.sh
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/graphs" "$out"
cat tests/data/publishing/station.bin |
  "$build_dir/app/corvane" decode --date 2026-01-20 > "$work/now.txt"
"$build_dir/app/corvane" expand templates/current.htm --readings "$work/now.txt" > "$work/current.htm"
QT_QPA_PLATFORM=offscreen "$build_dir/tests/publishing/pagegraphs" "$work/graphs"

# Chromium's sandbox needs a user namespace, which root and containers often lack.
shot() {
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size="$2" \
    --screenshot="$out/$1" "file://$work/current.htm" 2>/dev/null
}
shot page-phone.png 390,2200
shot page-desktop.png 1280,1500
ls -l "$out"/page-phone.png "$out"/page-desktop.png
