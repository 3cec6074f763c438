#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ (Release: plug-ins, tools, tests), then
# renders the embedded demo into out/demo: a synthesised guitar DI through the four factory
# programs, as WAV files and one picture. Safe to run again: it rebuilds what changed and
# replaces the demo files.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

echo "== configure and build (Release, every target)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

echo "== demo"
mkdir -p out
build/bin/vesk-render --output out/demo --force

echo
echo "Demo files:    $root/out/demo/ (open vesk-demo.png, listen to the WAVs)"
echo "Renderer:      $root/build/bin/vesk-render --help"
if [ -d build/Vesk_artefacts/Release ]; then
  echo "Plug-ins:      $root/build/Vesk_artefacts/Release/"
  for d in build/Vesk_artefacts/Release/*/; do
    echo "                 $(basename "$d")"
  done
fi
