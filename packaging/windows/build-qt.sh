#!/usr/bin/env bash
# Builds Qt's base module for 64-bit Windows (MinGW-w64) from Debian's own
# qt6-base source package and installs it under CACHE/qt6-mingw. The host's Qt
# (same version) provides moc, rcc and uic. Skipped when already installed.
# Usage: build-qt.sh CACHE JOBS TOOLCHAIN_FILE
set -euo pipefail

cache=$1
jobs=$2
toolchain=$3
prefix=$cache/qt6-mingw
[ -f "$prefix/.complete" ] && exit 0

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
src=$cache/src
mkdir -p "$src" "$cache/apt/lists/partial" "$cache/apt/cache/archives/partial"

# A private apt state with a deb-src line, so the system's sources stay as they are.
cat >"$cache/apt/sources.list" <<SOURCES
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
SOURCES
apt_opts=(-o "Dir::Etc::SourceList=$cache/apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o "Dir::State::Lists=$cache/apt/lists" -o "Dir::Cache=$cache/apt/cache" -o Debug::NoLocking=1)
if [ ! -f "$src/qt6-base_$version.dsc" ]; then
    apt-get "${apt_opts[@]}" -q update
    (cd "$src" && apt-get "${apt_opts[@]}" source --download-only "qt6-base=$version")
fi
if [ ! -d "$src/qtbase" ]; then
    dpkg-source -x "$src/qt6-base_$version.dsc" "$src/qtbase.tmp"
    mv "$src/qtbase.tmp" "$src/qtbase"
fi

build=$cache/qt6-mingw-build
if [ ! -f "$build/build.ninja" ]; then
    # The +dfsg tarball lacks the wintab sources (tablet events). Dynamic OpenGL
    # stays on unless the opengl input itself is "no".
    cmake -S "$src/qtbase" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_zstd=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_androiddeployqt=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
fi
cmake --build "$build" -j "$jobs"
cmake --install "$build"
touch "$prefix/.complete"
