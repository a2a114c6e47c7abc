#!/usr/bin/env bash
# Pictures of the installer's first page and of the Import Address Book
# dialog offering the address-book formats, under Xvfb, as PNGs in
# docs/screenshots/ (or the folder given). Needs the installer built
# (cmake --build build/win --target installer).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/screenshots}"
build="${ODC_WIN_BUILD:-$root/build/win}"
version="$(sed -n 's/^project(ODCSetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
installer="$build/ODCSetup-$version-win64.exe"
[ -f "$installer" ] || { echo "build the installer first: $installer"; exit 1; }
mkdir -p "$out"
work="$(mktemp -d)"
unset DISPLAY
export ODC_DISPLAY_PREFIX="$work/prefix"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
source "$root/scripts/wine_display_env.sh"
trap 'wineserver -k >/dev/null 2>&1 || true; [ -n "${ODC_XVFB_PID:-}" ] && kill "$ODC_XVFB_PID" 2>/dev/null; rm -rf "$work"' EXIT
wine=/usr/lib/wine/wine64

wait_window() {  # title
  for _ in $(seq 100); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "no window \"$1\"" >&2
  return 1
}

# The installer's welcome page.
"$wine" "Z:$installer" >/dev/null 2>&1 &
wait_window "ODC Setup $version Setup"
sleep 1
import -window root "$out/installer-welcome.png"
xdotool search --name "ODC Setup $version Setup" windowfocus --sync key --clearmodifiers Escape \
  >/dev/null 2>&1 || true
sleep 0.5
xdotool key Return >/dev/null 2>&1 || true
wineserver -k >/dev/null 2>&1 || true
sleep 0.5

# Import Address Book, after New, with the list of file types opened.
# A copy of the release folder with a few address books beside the program,
# where the dialog opens.
cp "$root/tests/fixtures/demo_machine.dat" "$work/machine.dat"
cp -r "$build/release" "$work/release"
cp "$root/tests/fixtures/demo_machine.dat" "$work/release/VM40/backup.DAT"
cp "$root/fuzz/corpus/fuzz_csv_import/demo_export.csv" "$work/release/VM40/office book.csv"
cp "$root/fuzz/corpus/fuzz_vcard_import/demo_export.vcf" "$work/release/VM40/contacts.vcf"
cp "$root/fuzz/corpus/fuzz_vcard_import/demo_export.vcf" "$work/release/VM40/contacts.txt"
(cd "$work/release/VM40" && ODC_SIMULATED_MACHINE="$work/machine.dat" "$wine" Setup.exe >/dev/null 2>&1 &)
wait_window "Device Configurator - ODC"
sleep 1
main="$(xdotool search --name "Device Configurator - ODC" | head -1)"
xdotool windowfocus --sync "$main" key ctrl+n
sleep 1
xdotool key alt+f
sleep 0.5
xdotool key i
wait_window "^Open$"
sleep 1
dialog="$(xdotool search --name "^Open$" | head -1)"
xdotool windowfocus --sync "$dialog" key alt+t
sleep 0.3
xdotool key alt+Down
sleep 1
import -window root "$out/import-formats.png"
xdotool key Escape Escape
wineserver -k >/dev/null 2>&1 || true
echo "$out/installer-welcome.png"
echo "$out/import-formats.png"
