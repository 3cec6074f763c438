#!/usr/bin/env bash
# Builds the Windows x64 deliverables on this Debian machine with the mingw-w64 cross compilers,
# and packs them into build-win/Vesk-1.1-windows-x64.zip: the VST 2.4 Vesk.dll, the Vesk.vst3
# bundle, the Vesk.aaxplugin bundle and the standalone Vesk.exe, with INSTALL.txt.
#
#   scripts/build-windows.sh           # build and pack
#   scripts/build-windows.sh --check   # then check them under Wine (scripts/windows/check.sh)
#
# Installs the Debian packages it needs when they are missing, and builds libpng, libjpeg-turbo
# and Google Benchmark for mingw from Debian's source packages once, into a cache outside the
# tree keyed by the toolchain and the recipe (VESK_CACHE_DIR, default ~/.cache/vesk), so that
# fresh clones of the same version reuse them.
# Everything lands in build-win/; the zip appears only when every part of it was built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-win
jobs=$(nproc)
name=Vesk-1.1-windows-x64
zip=$out/$name.zip

die() { echo "build-windows: $*" >&2; exit 1; }
check=0
for arg in "$@"; do
  case $arg in
    --check) check=1 ;;
    *) die "unknown argument $arg (usage: scripts/build-windows.sh [--check])" ;;
  esac
done

mkdir -p "$out"
rm -f "$zip"

bash scripts/windows/install-deps.sh
cache_key=$( { dpkg-query -W -f='${Package} ${Version}\n' gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix \
                libz-mingw-w64-dev mingw-w64-x86-64-dev 2>/dev/null
              cat scripts/windows/mingw-libs.sh cmake/toolchain-mingw64.cmake; } | sha256sum | cut -c1-16)
libs=${VESK_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vesk}/mingw-libs-$cache_key
bash scripts/windows/mingw-libs.sh "$libs"
prefix=$libs/prefix

juce_dir=$(ls -d /usr/lib/x86_64-linux-gnu/cmake/JUCE-* 2>/dev/null | sort -V | tail -n 1)
[ -n "$juce_dir" ] || die "JUCE's CMake package is missing: run scripts/install-deps.sh (juce-modules-source, juce-tools)"

echo "== configure (Windows x64, Release)"
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DVESK_MINGW_PREFIX="$prefix" \
      -DJUCE_DIR="$juce_dir" -Dbenchmark_DIR="$prefix/lib/cmake/benchmark" \
      -DZLIB_LIBRARY_RELEASE=/usr/x86_64-w64-mingw32/lib/libz.a \
      -DVESK_TESTS=OFF -DVESK_TOOLS=OFF >"$out/configure.log" 2>&1 \
  || { tail -n 20 "$out/configure.log" >&2; die "configuring the Windows build failed (see $out/configure.log)"; }

echo "== build (Windows x64: plug-ins, standalone, host check, benchmark)"
cmake --build "$out" -j"$jobs" --target Vesk_VST Vesk_VST3 Vesk_AAX Vesk_Standalone \
      vesk_host_check vesk_reference vesk_bench \
  || die "the Windows build failed (see the compiler output above)"

echo "== pack $name.zip"
art=$out/Vesk_artefacts/Release
stage=$out/package/$name
rm -rf "$out/package"
mkdir -p "$stage"
for part in VST/Vesk.dll VST3/Vesk.vst3 AAX/Vesk.aaxplugin Standalone/Vesk.exe; do
  [ -e "$art/$part" ] || die "not built: $art/$part"
  cp -R "$art/$part" "$stage/"
done
binaries=("$stage/Vesk.dll" "$stage/Vesk.vst3/Contents/x86_64-win/Vesk.vst3"
          "$stage/Vesk.aaxplugin/Contents/x64/Vesk.aaxplugin" "$stage/Vesk.exe")
for b in "${binaries[@]}"; do
  [ -f "$b" ] || die "not in the package: $b"
  x86_64-w64-mingw32-strip --strip-unneeded "$b"
  # A static runtime: the modules may import Windows system DLLs only.
  foreign=$(x86_64-w64-mingw32-objdump -p "$b" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -i -E '^(lib|zlib|.*mingw)' || true)
  [ -z "$foreign" ] || die "$(basename "$b") needs DLLs that Windows does not have: $foreign"
done
exports=$(x86_64-w64-mingw32-objdump -p "${binaries[2]}")
for entry in ACFStartup ACFShutdown ACFRegisterPlugin ACFRegisterComponent ACFGetClassFactory ACFCanUnloadNow ACFGetSDKVersion; do
  grep -q "\] $entry\$" <<<"$exports" || die "the AAX module does not export $entry"
done

sed 's/$/\r/' > "$stage/INSTALL.txt" <<'TEXT'
Vesk 1.1 for Windows (64-bit)

Quit the host first, then copy:

  Vesk.vst3       (the whole folder)  to  C:\Program Files\Common Files\VST3
  Vesk.dll        (VST 2.4)           to  your host's VST 2 plug-in folder, for example
                                          C:\Program Files\VSTPlugins or C:\Program Files\Steinberg\VstPlugins
  Vesk.aaxplugin  (the whole folder)  to  C:\Program Files\Common Files\Avid\Audio\Plug-Ins
  Vesk.exe        (standalone)        anywhere, for example C:\Program Files\Vesk

Copy either the VST3 or the VST 2 plug-in, or both: hosts list them as separate plug-ins.
Then start the host and let it scan for new plug-ins. Nothing else needs installing: the
plug-ins bring their own runtime.
TEXT

(cd "$out/package" && rm -f "$zip.part" && zip -q -r -X "$zip.part" "$name") || die "zip failed"
mv "$zip.part" "$zip"

echo
echo "Windows package: $zip"
for b in "${binaries[@]}"; do
  printf '  %-40s %s bytes\n' "${b#$stage/}" "$(stat -c %s "$b")"
done

if [ $check -eq 1 ]; then
  bash scripts/windows/check.sh
fi
