#!/usr/bin/env bash
# Sets up everything the 32-bit Windows leg needs, on Debian 12 as root, from
# Debian's packages only:
#   - the mingw-w64 i686 cross compiler (posix threads) and tools,
#   - 32-bit Wine, headless,
#   - the zh_CN.UTF-8 locale (Wine then reports ANSI code page 936),
#   - libyuv and libpng (from Debian's source packages) and GoogleTest
#     (/usr/src/googletest) cross-built for i686-w64-mingw32 into a cache folder,
#   - with --bench, also Google Benchmark (Debian's source package) for the
#     Windows leg of the frame benchmark (scripts/bench.sh --windows).
# Safe to run again: each step is skipped when its result is already there.
#
# Environment:
#   ANE_MINGW_PREFIX  where the cross-built libraries go (default /opt/ane-mingw)
set -euo pipefail

with_bench=
for arg in "$@"; do
  case "$arg" in
    --bench) with_bench=1 ;;
    *) echo "setup-windows.sh: unknown option $arg (known: --bench)" >&2; exit 2 ;;
  esac
done

PREFIX=${ANE_MINGW_PREFIX:-/opt/ane-mingw}
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TOOLCHAIN="$HERE/cmake/toolchain-mingw-i686.cmake"
APT=(apt-get -y -q -o DPkg::Lock::Timeout=900)
export DEBIAN_FRONTEND=noninteractive

log() { printf '== setup-windows: %s\n' "$*"; }

if [ "$(id -u)" -ne 0 ]; then
  echo "setup-windows.sh must run as root (it installs Debian packages)" >&2
  exit 1
fi

# ---------------------------------------------------------------- packages
missing=()
need() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" || missing+=("$1"); }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture for 32-bit Wine"
  dpkg --add-architecture i386
  i386_added=1
fi
for p in g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
         mingw-w64-i686-dev mingw-w64-tools libz-mingw-w64-dev wine wine32:i386 locales \
         cmake ninja-build dpkg-dev googletest xz-utils; do
  need "$p"
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${i386_added:-}" ]; then
  log "installing: ${missing[*]}"
  "${APT[@]}" update
  "${APT[@]}" install --no-install-recommends "${missing[@]}"
fi

# ---------------------------------------------------------------- locale
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  log "generating the zh_CN.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q '^# *zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    locale-gen
  else
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  fi
fi

mkdir -p "$PREFIX"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Runs a command quietly; its output is shown only when it fails.
quiet() {
  if ! "$@" >"$WORK/quiet.log" 2>&1; then
    cat "$WORK/quiet.log" >&2
    echo "setup-windows: failed: $*" >&2
    exit 1
  fi
}

cross_cmake() { # src build extra-args...
  local src=$1 build=$2; shift 2
  quiet cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@"
  quiet cmake --build "$build" -j2
}

# Debian source packages, through a private apt configuration with deb-src
# lines derived from the machine's own deb lines: the machine's apt
# configuration and lists stay untouched.
apt_ready=
fetch_source() { # package -> unpacked in $WORK/<package>-src
  local A="$WORK/apt"
  if [ -z "$apt_ready" ]; then
    mkdir -p "$A/lists/partial" "$A/cache/archives/partial" "$A/src"
    {
      if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list
      fi
      for f in /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
      done
    } >"$A/sources.list"
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      # deb822 stanzas: keep the stanza, turn "Types: deb" into "Types: deb-src".
      sed 's/^Types:.*/Types: deb-src/' "$f" >"$A/src/$(basename "$f")"
    done
    AOPT=(-o Dir::Etc::SourceList="$A/sources.list" -o Dir::Etc::SourceParts="$A/src"
          -o Dir::State::Lists="$A/lists" -o Dir::Cache="$A/cache"
          -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache=""
          -o APT::Get::List-Cleanup=0 -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
    quiet apt-get -q "${AOPT[@]}" update
    apt_ready=1
  fi
  log "fetching Debian's $1 source package"
  mkdir -p "$WORK/dl-$1"
  # The newest version first; a mirror may lack one (security updates'
  # sources are not always there), then the next is taken.
  local v ok=
  for v in $(apt-cache "${AOPT[@]}" showsrc "$1" | sed -n 's/^Version: //p' | sort -rV | uniq); do
    if (cd "$WORK/dl-$1" && apt-get -q "${AOPT[@]}" source --download-only "$1=$v" >/dev/null 2>&1); then
      ok=1
      break
    fi
    log "$1 $v: source not available, trying an older version"
    rm -f "$WORK/dl-$1"/*
  done
  if [ -z "$ok" ]; then
    echo "setup-windows: cannot fetch the $1 source package" >&2
    exit 1
  fi
  local dsc
  dsc=$(ls "$WORK/dl-$1"/*.dsc | head -n1)
  (cd "$WORK" && quiet dpkg-source --no-check -x "$dsc" "$1-src")
}

# ---------------------------------------------------------------- libyuv
# Built with the toolchain file's CPU flags; the stamp records them, so a
# library built with other flags (an older set-up's, without SSE2 and so
# without any SIMD row) is rebuilt rather than reused.
yuv_flags=$(sed -n 's/^set(ANE_WINDOWS_CPU_FLAGS "\(.*\)")$/\1/p' "$TOOLCHAIN")
if [ ! -f "$PREFIX/lib/libyuv.a" ] || [ ! -f "$PREFIX/include/libyuv.h" ] ||
   [ "$(cat "$PREFIX/lib/libyuv.flags" 2>/dev/null)" != "$yuv_flags" ]; then
  fetch_source libyuv
  log "cross-building libyuv (flags: $yuv_flags)"
  rm -rf "$WORK/yuv-build"
  # Only the static library: Debian's CMakeLists also builds a shared library
  # and tools, which we do not need.
  quiet cmake -S "$WORK/libyuv-src" -B "$WORK/yuv-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
  quiet cmake --build "$WORK/yuv-build" --target yuv -j2
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  # The SIMD rows must be in: a library without them converts 30 times slower.
  yuv_symbols=$(i686-w64-mingw32-nm "$WORK/yuv-build/libyuv.a" 2>/dev/null || true)
  if ! grep -q 'T _I422ToARGBRow_SSSE3' <<<"$yuv_symbols" || ! grep -q 'T _I422ToARGBRow_AVX2' <<<"$yuv_symbols"; then
    echo "setup-windows: the cross-built libyuv has no SSSE3/AVX2 rows" >&2
    exit 1
  fi
  cp "$WORK/yuv-build/libyuv.a" "$PREFIX/lib/libyuv.a.new" && mv "$PREFIX/lib/libyuv.a.new" "$PREFIX/lib/libyuv.a"
  cp -r "$WORK/libyuv-src/include/." "$PREFIX/include/"
  printf '%s' "$yuv_flags" > "$PREFIX/lib/libyuv.flags"
fi

# ---------------------------------------------------------------- libpng
# For the host tool's pictures; static, over the static zlib of libz-mingw-w64-dev.
if [ ! -f "$PREFIX/include/png.h" ] || ! ls "$PREFIX"/lib/libpng*.a >/dev/null 2>&1; then
  fetch_source libpng1.6
  log "cross-building libpng"
  cross_cmake "$WORK/libpng1.6-src" "$WORK/png-build" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_USE_STATIC_LIBS=ON -DSKIP_INSTALL_EXECUTABLES=ON \
    -DSKIP_INSTALL_PROGRAMS=ON
  quiet cmake --install "$WORK/png-build"
fi

# ---------------------------------------------------------------- GoogleTest
if [ ! -f "$PREFIX/lib/cmake/GTest/GTestConfig.cmake" ]; then
  log "cross-building GoogleTest"
  cross_cmake /usr/src/googletest "$WORK/gtest-build" -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
  quiet cmake --install "$WORK/gtest-build"
fi

# ---------------------------------------------------------------- Google Benchmark
if [ -n "$with_bench" ] && [ ! -f "$PREFIX/lib/cmake/benchmark/benchmarkConfig.cmake" ]; then
  fetch_source benchmark
  log "cross-building Google Benchmark"
  # Debian's source takes its version from the build (no git tags to read).
  bench_version=$(sed -n 's/^project *(benchmark VERSION \([0-9.]*\).*/\1/p' "$WORK/benchmark-src/CMakeLists.txt")
  cross_cmake "$WORK/benchmark-src" "$WORK/benchmark-build" -DGIT_VERSION="${bench_version:-0.0.0}" \
    -DBENCHMARK_ENABLE_TESTING=OFF \
    -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LTO=OFF \
    -DBENCHMARK_ENABLE_INSTALL=ON -DBENCHMARK_INSTALL_DOCS=OFF -DBUILD_SHARED_LIBS=OFF
  quiet cmake --install "$WORK/benchmark-build"
fi

log "ready: toolchain $TOOLCHAIN, libraries in $PREFIX"
