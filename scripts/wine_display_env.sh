#!/usr/bin/env bash
# Sourced: a Wine prefix that draws real windows (X11 driver) for ./run and
# the screenshots; unmanaged windows so that dialogs open at once without a
# window manager. Starts Xvfb on a free display when there is no DISPLAY.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${ODC_DISPLAY_PREFIX:-$root/build/wineprefix-x11}"
export WINEARCH=win64
export WINEDEBUG=fixme-all
# A caller may add its own overrides (no menu entries in the desktop, say).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 99); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 "${ODC_XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
      ODC_XVFB_PID=$!
      export DISPLAY=":$n"
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    fi
  done
fi
if [ ! -f "$WINEPREFIX/.odc-ready" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.odc-ready"
fi
# Wine draws the caption buttons with its Marlett font and dialogs in Tahoma.
# Debian's fonts-wine installs them in /usr/share/wine/fonts, where this Wine
# does not look (without them the buttons show as the letters "0 1 r"): the
# prefix gets its own copies, also when it was made before.
fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts_dir/marlett.ttf" ]; then
  mkdir -p "$fonts_dir"
  cp -n /usr/share/wine/fonts/* "$fonts_dir/"
  wineserver -k >/dev/null 2>&1 || true
fi
