#!/usr/bin/env bash
# Pictures of Setup at 96, 144 and 192 DPI under Xvfb, as PNGs in
# docs/screenshots/ (or the folder given): the main window at its start
# size, the One Touch view after a download from a copy of the
# demonstration machine, the One Touch entry and Group dial dialogs, and
# the first page of the Utility Setting sheet, named
# dpi-<DPI>-main-window.png, dpi-<DPI>-one-touch.png,
# dpi-<DPI>-one-touch-entry.png, dpi-<DPI>-group-dial.png and
# dpi-<DPI>-utility-setting.png. Each DPI has its own Wine prefix under
# build/ (HKCU\Control Panel\Desktop LogPixels), made on the first run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/screenshots}"
cd "$root"
build="${ODC_WIN_BUILD:-build/win}"
cmake --build "$build" --target odc_screenshot_tour >/dev/null
work="$(mktemp -d)"
unset DISPLAY
export ODC_XVFB_SCREEN=1600x1000x24
mkdir -p "$out"
for dpi in 96 144 192; do
  export ODC_DISPLAY_PREFIX="$root/build/wineprefix-x11-dpi$dpi"
  (
    source scripts/wine_display_env.sh
    trap 'wineserver -k >/dev/null 2>&1 || true; [ -n "${ODC_XVFB_PID:-}" ] && kill "$ODC_XVFB_PID" 2>/dev/null' EXIT
    if [ "$(cat "$WINEPREFIX/.odc-dpi" 2>/dev/null)" != "$dpi" ]; then
      /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$dpi" /f >/dev/null 2>&1
      wineserver -w
      echo "$dpi" >"$WINEPREFIX/.odc-dpi"
    fi
    cp tests/fixtures/demo_machine.dat "$work/machine.dat"
    ODC_SIMULATED_MACHINE="$work/machine.dat" /usr/lib/wine/wine64 \
      "$build/tests/win/odc_screenshot_tour.exe" "Z:$work" "dpi-$dpi" 2>/dev/null
  )
done
for bmp in "$work"/dpi-*.bmp; do
  png="$out/$(basename "${bmp%.bmp}").png"
  convert "$bmp" "$png"
  echo "$png"
done
rm -rf "$work"
