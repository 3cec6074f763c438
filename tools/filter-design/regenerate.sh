#!/bin/sh
# Regenerates source/engine/PrototypeFilters.cpp with the designer built by the project's CMake.
#   tools/filter-design/regenerate.sh [<build folder>]     (default: build)
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target regenerate-filters
cp "$build/tools/filter-design/PrototypeFilters.cpp" "$root/source/engine/PrototypeFilters.cpp"
