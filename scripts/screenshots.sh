#!/usr/bin/env bash
# Saves pictures of the main window and the Temperature and Wind windows, fed by the
# simulated console, of the seven tabs of the setup dialog, and of the chart window and one page
# of its automated report over days that the engine logged from the simulated console on a
# fast clock, under Xvfb into
# docs/screenshots/ (or the folder given); the fax page of that chart into docs/fax/ (or the
# second folder given).
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/screenshots}"
fax_out="${2:-docs/fax}"
build_dir="${CORVANE_BUILD_DIR:-build}"
scripts/deps.sh
if [ -f "$build_dir/build.ninja" ]; then
  cmake --build "$build_dir" --target corvane chartshots
else
  scripts/build.sh
fi

# A program directory of its own: no configuration file, so English units and defaults.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$out"
CORVANE_HOME="$home" CORVANE_SCREENSHOTS="$out" CORVANE_SCREENSHOT_DELAY="${CORVANE_SCREENSHOT_DELAY:-12}" \
  xvfb-run -a -s "-screen 0 1600x1200x24" "$build_dir/app/corvane" --simulate --seed 1
ls -l "$out"/main-window.png "$out"/temperature-window.png "$out"/wind-window.png
ls -l "$out"/setup-{ftp,ports,display,graphs,fax,paging,sharing}.png
xvfb-run -a -s "-screen 0 1600x1200x24" "$build_dir/tests/chartwindow/chartshots" "$out" "$fax_out"
ls -l "$out"/chart-window.png "$out"/chart-zoomed.png "$out"/chart-area.png \
  "$out"/chart-candle.png "$out"/chart-radar.png "$out"/chart-datetime.png "$out"/report-page.png "$out"/chart-range.png \
  "$fax_out"/month-graph-fax.png
