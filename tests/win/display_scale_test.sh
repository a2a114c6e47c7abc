#!/usr/bin/env bash
# Runs the display-scale test program in a Wine prefix whose screen has the
# given DPI (HKCU\Control Panel\Desktop LogPixels), with the null graphics
# driver so no display is needed. The prefix is made once per DPI and kept
# in the build folder; a later run reuses it (about a second instead of ten).
# Usage: display_scale_test.sh DPI TEST.exe PREFIX_DIR
set -u
dpi="$1" exe="$2" prefix="$(realpath -m "$3")"
wine=/usr/lib/wine/wine64
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=fixme-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
if [ "$(cat "$WINEPREFIX/.odc-dpi" 2>/dev/null)" != "$dpi" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
  # The new prefix is written when wineboot's processes end: settings added
  # before that are lost.
  timeout 120 wineserver -w
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1
  timeout 120 wineserver -w
  if ! grep -q "\"LogPixels\"=dword:$(printf '%08x' "$dpi")" "$WINEPREFIX/user.reg"; then
    echo "display_scale_test: could not set $dpi DPI in $WINEPREFIX"
    exit 1
  fi
  echo "$dpi" >"$WINEPREFIX/.odc-dpi"
fi
# A wineserver of its own with its output going nowhere: one started by the
# test program would keep CTest's pipe open after the test.
wineserver -p >/dev/null 2>&1 </dev/null
"$wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ODC_EXPECT_DPI="$dpi" "$wine" "$exe" --gtest_brief=1
