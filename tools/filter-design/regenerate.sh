#!/bin/sh
# Rebuilds the prototype designer and regenerates source/engine/PrototypeFilters.cpp.
# Run from anywhere; needs g++ and Eigen 3 (Debian libeigen3-dev).
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -O2 -I/usr/include/eigen3 "$root/tools/filter-design/DesignPrototypes.cpp" -o "$work/design"
"$work/design" > "$work/PrototypeFilters.cpp"
mv "$work/PrototypeFilters.cpp" "$root/source/engine/PrototypeFilters.cpp"
