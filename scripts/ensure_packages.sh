#!/usr/bin/env bash
# Installs, with apt, whatever the build and the tests need and is missing.
# Quiet when everything is there.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
          libbenchmark-dev g++-mingw-w64-x86-64-posix mingw-w64 wine wine64 fonts-wine
          xvfb imagemagick x11-utils nlohmann-json3-dev libcli11-dev python3 ccache
          cups-daemon cups-client ghostscript nsis cmark cmark-gfm xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
