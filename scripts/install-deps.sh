#!/usr/bin/env bash
# Installs every Debian package the project needs, only when something is missing.
# Idempotent: a second run finds everything present and does nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build ccache
  juce-modules-source juce-tools
  libeigen3-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fst-dev
  libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxcomposite-dev libxtst-dev
  libfreetype-dev libfontconfig1-dev fonts-dejavu-core libasound2-dev libjack-jackd2-dev
  libpng-dev libjpeg-dev libflac-dev libvorbis-dev libogg-dev
  libgl-dev libcurl4-openssl-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-apps x11-utils imagemagick sox lame
  fonts-dejavu-core
  lv2-dev lilv-utils sordi
  dpkg-dev file lintian man-db procps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
