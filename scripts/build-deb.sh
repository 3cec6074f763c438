#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ (Release) and makes the Debian package
# build/vesk_<version>_amd64.deb with CPack (see cmake/VeskPackage.cmake). Install it with
# `sudo apt install ./build/vesk_<version>_amd64.deb`; `packaging/check-deb.sh build` checks it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

echo "== configure and build (Release, every target)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

echo "== Debian package"
(cd build && cpack --config CPackConfig.cmake)
