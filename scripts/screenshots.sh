#!/usr/bin/env bash
# Pictures of Setup's main states under Xvfb, as PNGs in docs/screenshots/
# (or the folder given): start-up, New, Download, the three views, the
# entry and Group dial dialogs and the Administrator sheet with its dialogs,
# the download coming from a copy of the demonstration machine; then the same with the Japanese test module
# (pictures named ja-*). ODC_WIN_BUILD names another Windows build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/screenshots}"
cd "$root"
build="${ODC_WIN_BUILD:-build/win}"
cmake --build "$build" --target odc_screenshot_tour SetupJapanese >/dev/null
work="$(mktemp -d)"
cp tests/fixtures/demo_machine.dat "$work/machine.dat"
unset DISPLAY
source scripts/wine_display_env.sh
trap 'wineserver -k >/dev/null 2>&1 || true; [ -n "${ODC_XVFB_PID:-}" ] && kill "$ODC_XVFB_PID" 2>/dev/null; rm -rf "$work"' EXIT
ODC_SIMULATED_MACHINE="$work/machine.dat" /usr/lib/wine/wine64 \
  "$build/tests/win/odc_screenshot_tour.exe" "Z:$work" 2>/dev/null
cp tests/fixtures/demo_machine.dat "$work/machine.dat"
ODC_SIMULATED_MACHINE="$work/machine.dat" /usr/lib/wine/wine64 \
  "$build/tests/win/odc_screenshot_tour.exe" "Z:$work" \
  "Z:$(cd "$build" && pwd)/setup/res/SetupJapanese.dll" 2>/dev/null
mkdir -p "$out"
for bmp in "$work"/*.bmp; do
  png="$out/$(basename "${bmp%.bmp}").png"
  convert "$bmp" "$png"
  echo "$png"
done
