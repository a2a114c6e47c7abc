#!/usr/bin/env bash
# Sourced: a private Wine prefix with the null graphics driver, so Windows
# programs and their GUI tests run without any display. Starts a persistent
# wineserver with its output redirected (CTest would otherwise wait on it)
# and stops it when the sourcing shell exits.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=fixme-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.odc-ready" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.odc-ready"
fi
wineserver -p >/dev/null 2>&1 </dev/null
# Start Wine's own services now, with their output going nowhere: services
# started by the first test program would inherit CTest's pipe and keep it
# waiting after the test has finished.
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
