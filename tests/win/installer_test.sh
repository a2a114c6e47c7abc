#!/usr/bin/env bash
# The installer as a technician runs it, in a fresh Wine prefix: a silent
# install (/S), every file, the Start menu entries and the uninstall entry in
# place, the installed ModelLauncher.exe and Setup.exe start and close, and a
# silent uninstall leaves nothing behind.
# Usage: installer_test.sh INSTALLER.exe START_PROBE.exe VERSION
set -u
installer="$1" probe="$2" version="$3"
if [ ! -f "$installer" ]; then
  echo "installer_test: $installer is not built (cmake --build <dir> --target installer)"
  exit 1
fi
wine=/usr/lib/wine/wine64
WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/odc-installer-prefix.XXXXXX")"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=fixme-all
# No menu entries or file associations in the desktop of whoever runs this.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
timeout 120 wineserver -w

failures=0
check() {
  local what="$1"
  shift
  if "$@" >/dev/null 2>&1; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    failures=$((failures + 1))
  fi
}
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ODCSetup'
value() { "$wine" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }

"$wine" "$(winepath -w "$installer" 2>/dev/null)" /S >/dev/null 2>&1
install_status=$?
timeout 120 wineserver -w
check "installer exits 0" test "$install_status" -eq 0

dir="$WINEPREFIX/drive_c/Program Files/ODC Setup"
for file in ModelLauncher.exe odctool.exe SettingsByName.html Uninstall.exe VM40/Setup.exe \
            VM40/Setup.dll VM40/UserGuide.html VM40/TextAddressBooks.html \
            VM40/screenshots/01-start-up.png; do
  check "installed $file" test -s "$dir/$file"
done
# Every page and picture the installed pages point to is installed too, and
# they send the reader to nothing that only a developer's checkout has.
for page in SettingsByName.html VM40/UserGuide.html VM40/TextAddressBooks.html; do
  [ -f "$dir/$page" ] || continue
  page_dir="$(dirname "$dir/$page")"
  targets="$(grep -o -E '(href|src)="[^"#]+' "$dir/$page" | sed -E 's/^(href|src)="//' |
    grep -v -E '^[a-z]+:' | sort -u)"
  for target in $targets; do
    check "$page: $target is installed" test -s "$page_dir/$target"
  done
  check "$page shows its tables as tables" \
    sh -c "! grep -q -E '^<p>\\|' \"\$1\"" _ "$dir/$page"
  check "$page names no ./run, README or docs/ file" \
    sh -c "! grep -q -E '\./run|README|docs/|\.md\b' \"\$1\"" _ "$dir/$page"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ODC Setup"
check "Start menu: ODC Setup" test -f "$menu/ODC Setup.lnk"
check "Start menu: user guide" test -f "$menu/ODC Setup User Guide.lnk"
check "uninstall entry: name" test "$(value DisplayName)" = "ODC Setup"
check "uninstall entry: version $version" test "$(value DisplayVersion)" = "$version"
check "uninstall entry: publisher" test "$(value Publisher)" = "ODC"
size="$(value EstimatedSize)"
check "uninstall entry: size ($size KB)" test "$((size))" -gt 1000
check "uninstall entry: uninstaller" \
  test "$(value UninstallString)" = '"C:\Program Files\ODC Setup\Uninstall.exe"'
check "odctool --version says $version" \
  sh -c "\"$wine\" \"C:\\\\Program Files\\\\ODC Setup\\\\odctool.exe\" --version 2>/dev/null | tr -d '\r' | grep -qx 'odctool $version'"
while IFS='|' read -r program title; do
  output="$(timeout 60 "$wine" "$probe" "C:\\Program Files\\ODC Setup\\$program" 30 2>/dev/null | tr -d '\r')"
  echo "     $program: $(echo "$output" | tr '\n' ' ')"
  check "installed $program shows \"$title\" and closes" \
    sh -c "echo '$output' | grep -qx 'window: $title' && echo '$output' | grep -qx 'ended with exit code 0'"
done <<'PROGRAMS'
ModelLauncher.exe|ODC Model Setup
VM40\Setup.exe|Device Configurator - ODC - NewFile.Dat
PROGRAMS

"$wine" "C:\\Program Files\\ODC Setup\\Uninstall.exe" /S >/dev/null 2>&1
# The uninstaller runs on from a temporary copy of itself.
timeout 120 wineserver -w
check "uninstall removes the folder" test ! -e "$dir"
check "uninstall removes the Start menu folder" test ! -e "$menu"
leftovers="$(find "$WINEPREFIX/drive_c" \( -iname '*ODC Setup*' -o -iname 'UserGuide.html' \
  -o -iname 'SettingsByName.html' -o -iname 'TextAddressBooks.html' \
  -o -iname 'ModelLauncher.exe' -o -iname 'odctool.exe' \) 2>/dev/null)"
check "nothing of the program is left on drive C: ${leftovers:-none}" test -z "$leftovers"
# NSIS runs the uninstaller from a copy of itself in the user's temporary
# folder, and that copy cannot delete itself: it stays there, outside the
# installation, until the temporary folder is cleaned. Nothing else may be
# left there.
others="$(find "$WINEPREFIX/drive_c/users" -path '*~nsu*' -type f ! -iname 'Un*.exe' 2>/dev/null)"
echo "     temporary copies: $(find "$WINEPREFIX/drive_c/users" -path '*~nsu*' -type f | sed 's|.*/drive_c/|C:/|' | tr '\n' ' ')"
check "only the uninstaller's own copy stays in the temporary folder" test -z "$others"
check "uninstall removes the uninstall entry" sh -c "! \"$wine\" reg query '$key' >/dev/null 2>&1"

if [ "$failures" -ne 0 ]; then
  echo "installer_test: $failures check(s) failed"
  exit 1
fi
echo "installer_test: all checks passed"
