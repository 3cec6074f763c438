#!/usr/bin/env bash
# Builds everything and runs every test: the unit and integration tests (ctest), the Debian
# package's install/remove round trip (VESK_DEB=0 skips it), the Windows build and its checks
# under Wine (VESK_WINDOWS=0 skips them), the thread tests again under ThreadSanitizer, the unit
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and the state-reader fuzzer
# for a bounded time.
# Installs missing Debian packages first; safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_seconds=${VESK_FUZZ_SECONDS:-60}

bash scripts/install-deps.sh

# Compiled objects are kept by ccache outside the tree, with paths taken relative to the tree, so
# that a fresh clone in any folder reuses what an earlier build of the same sources compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-20G}

echo "== build (Release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"

# Editor tests and the host check need a display; start a virtual one when there is none.
source scripts/virtual-display.sh
xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
start_virtual_display 90 120

echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 900

# The Debian package: built from build/, checked by lintian, installed with apt over an older
# Vesk, used from the system folders, removed while a host plays it (VESK_DEB=0 skips it). It
# installs into /usr and always purges the package again.
if [ "${VESK_DEB:-1}" != 0 ]; then
  echo "== Debian package: build, lintian, install over an older Vesk, use, remove"
  (cd build && cpack --config CPackConfig.cmake >/dev/null)
  if [ "$(id -u)" = 0 ]; then bash packaging/check-deb.sh build
  else sudo --preserve-env=DISPLAY,VESK_DEB_CHECK_PRIVATE bash packaging/check-deb.sh build; fi
fi

# The Windows x64 package, cross-built with mingw and checked under Wine on the same display.
if [ "${VESK_WINDOWS:-1}" != 0 ]; then
  echo "== Windows x64 build and checks under Wine"
  bash scripts/build-windows.sh --check
fi

echo "== thread tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_SANITIZE=thread \
      -DVESK_TOOLS=OFF -DVESK_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$jobs" --target vesk_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  build-tsan/tests/vesk_tests --gtest_filter='*Thread*' --gtest_brief=1

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The whole unit-test binary, built at -O1 and without the plug-in formats to keep this step short.
# Undefined behaviour and memory errors stop the run; leaks are reported at exit.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_SANITIZE=address,undefined \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g -DNDEBUG" \
      -DVESK_BENCH=OFF -DVESK_PLUGIN_FORMATS=OFF >/dev/null
cmake --build build-asan -j"$jobs" --target vesk_tests
ASAN_OPTIONS="halt_on_error=1 detect_leaks=1 strict_string_checks=1 detect_stack_use_after_return=1" \
UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" \
  build-asan/tests/vesk_tests --gtest_brief=1

echo "== state fuzzer (${fuzz_seconds} s)"
CC=clang CXX=clang++ cmake -S tests/fuzz -B build-fuzz -G Ninja >/dev/null
cmake --build build-fuzz -j"$jobs"
corpus=$(mktemp -d)
cp tests/fuzz/corpus/* "$corpus"/
build-fuzz/vesk_state_fuzzer -seed=1 -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -max_len=65536 "$corpus" 2>&1 | grep -v -E "^#[0-9]+.*(NEW|REDUCE|pulse)" | tail -n 40
rm -rf "$corpus"

echo "all tests passed"
