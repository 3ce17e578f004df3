#!/usr/bin/env bash
# The desktop program starts on a real (virtual) X display with the simulated station,
# shows its windows and ends by itself after saving their pictures.
set -euo pipefail
corvane="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=xcb CORVANE_HOME="$work/home" CORVANE_SCREENSHOTS="$work/shots" CORVANE_SCREENSHOT_DELAY=4 \
  timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" "$corvane" --simulate --seed 1
for window in main-window temperature-window wind-window; do
  picture="$work/shots/$window.png"
  # A real picture, not an empty file: PNG signature and more than a blank window's size.
  [ "$(head -c 8 "$picture" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || {
    echo "no PNG picture of $window"; exit 1; }
  [ "$(stat -c %s "$picture")" -gt 2000 ] || { echo "$window picture is nearly empty"; exit 1; }
done
echo "desktop started under Xvfb; three window pictures saved"
