#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its checks need, only when something is
# missing: the mingw-w64 cross compilers (posix threads), zlib for mingw, Wine (64-bit), dpkg-dev
# (to unpack Debian source packages) and zip. Fails with one line naming what could not be had.
set -euo pipefail

packages=(
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
  wine wine64
  dpkg-dev zip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
if ! { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  tail -n 5 "$log" >&2
  echo "build-windows: missing Debian packages ${missing[*]}: install them with 'apt-get install ${missing[*]}' (Debian bookworm, main)" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
