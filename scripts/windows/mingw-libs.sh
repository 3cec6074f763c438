#!/usr/bin/env bash
# Builds the static libraries the Windows build needs and Debian ships only for Linux: libpng and
# libjpeg-turbo (JUCE's image loaders) and Google Benchmark (the benchmark), each from Debian's
# source package, with the mingw toolchain, into a cache folder:
#
#   scripts/windows/mingw-libs.sh <cache folder>     -> <cache folder>/prefix/{include,lib}
#
# A library whose stamp is in the prefix is not built again. The sources come through apt's own
# source download, with a private source list, index and cache under <cache folder>/apt for
# these calls only; the machine's apt configuration is not touched. When the newest version of
# a package is missing from the mirror, the next older one the index lists is tried.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cache=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=$cache/prefix
toolchain=$root/cmake/toolchain-mingw64.cmake
jobs=$(nproc)
zlib=/usr/x86_64-w64-mingw32/lib/libz.a

die() { echo "build-windows: $*" >&2; exit 1; }

# name|source package|stamp
libraries=(
  "libpng|libpng1.6"
  "libjpeg-turbo|libjpeg-turbo"
  "benchmark|benchmark"
)

todo=()
for entry in "${libraries[@]}"; do
  name=${entry%%|*}
  [ -e "$prefix/.built-$name" ] || todo+=("$entry")
done
[ ${#todo[@]} -eq 0 ] && exit 0

[ -e "$zlib" ] || die "missing $zlib: install libz-mingw-w64-dev (apt-get install libz-mingw-w64-dev)"
command -v dpkg-source >/dev/null || die "missing dpkg-source: install dpkg-dev (apt-get install dpkg-dev)"

# A private apt: the machine's Debian sources as deb-src entries, and its own index and cache.
apt_dir=$cache/apt
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
rm -f "$apt_dir/parts/"*
n=0
for f in /etc/apt/sources.list.d/*.sources; do
  [ -e "$f" ] || continue
  grep -q '^Types:.*\bdeb\b' "$f" || continue
  sed -E 's/^Types:.*/Types: deb-src/' "$f" > "$apt_dir/parts/src-$((n++)).sources"
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -e "$f" ] || continue
  grep -E '^deb[[:space:]]' "$f" | sed -E 's/^deb[[:space:]]/deb-src /' > "$apt_dir/parts/src-$((n++)).list" || true
done
apt_opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/parts"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
          -o APT::Sandbox::User=root -o Acquire::Retries=2)
if ! apt-get "${apt_opts[@]}" update -qq >"$apt_dir/update.log" 2>&1; then
  die "cannot read Debian's source index (see $apt_dir/update.log): the machine needs network access to its Debian mirror"
fi

# Unpacks the newest version of a source package the mirror can deliver into $src.
fetch_source() {
  local package=$1 dest=$2 versions v
  versions=$(apt-cache "${apt_opts[@]}" showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -u | sort -r -V)
  [ -n "$versions" ] || die "Debian's source index lists no package $package: check the Debian mirror in /etc/apt/sources.list.d"
  rm -rf "$dest"
  mkdir -p "$dest/download"
  for v in $versions; do
    if (cd "$dest/download" && apt-get "${apt_opts[@]}" source --download-only -qq "$package=$v" >>"$dest/fetch.log" 2>&1); then
      dpkg-source --no-check -x "$dest/download/"*.dsc "$dest/tree" >>"$dest/fetch.log" 2>&1 \
        || die "cannot unpack source package $package $v (see $dest/fetch.log)"
      echo "$package $v" > "$dest/version"
      return 0
    fi
    echo "source package $package $v not on the mirror; trying an older version" >&2
    rm -f "$dest/download/"*
  done
  die "cannot download source package $package (no listed version on the mirror; see $dest/fetch.log)"
}

configure_build_install() {
  local src=$1 build=$2; shift 2
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVESK_MINGW_PREFIX="$prefix" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=ON "$@" >"$build.log" 2>&1 \
    && cmake --build "$build" -j"$jobs" >>"$build.log" 2>&1 \
    && cmake --install "$build" >>"$build.log" 2>&1
}

mkdir -p "$prefix"
for entry in "${todo[@]}"; do
  name=${entry%%|*}
  package=${entry#*|}
  src=$cache/src/$name
  echo "== mingw library: $name (Debian source package $package)"
  fetch_source "$package" "$src"
  case $name in
    libpng)
      configure_build_install "$src/tree" "$src/build" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$zlib" -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
        || die "libpng did not build for mingw (see $src/build.log)"
      ;;
    libjpeg-turbo)
      configure_build_install "$src/tree" "$src/build" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
        || die "libjpeg-turbo did not build for mingw (see $src/build.log)"
      # JUCE's JPEG loader includes the library's internal header too.
      cp "$src/tree/jpegint.h" "$prefix/include/"
      ;;
    benchmark)
      configure_build_install "$src/tree" "$src/build" -DBUILD_SHARED_LIBS=OFF -DBENCHMARK_ENABLE_TESTING=OFF \
        -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LIBPFM=OFF \
        -DBENCHMARK_INSTALL_DOCS=OFF -DCMAKE_INSTALL_LIBDIR=lib -DGIT_VERSION=0.0.0 \
        || die "Google Benchmark did not build for mingw (see $src/build.log)"
      ;;
  esac
  cp "$src/version" "$prefix/.built-$name"
  rm -rf "$src/download"
done
