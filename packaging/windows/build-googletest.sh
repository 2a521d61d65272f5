#!/usr/bin/env bash
# Cross-builds Debian's GoogleTest sources (libgtest-dev ships them) for
# 64-bit Windows and installs them under CACHE/googletest-mingw.
# Usage: build-googletest.sh CACHE JOBS TOOLCHAIN_FILE
set -euo pipefail

cache=$1
jobs=$2
toolchain=$3
prefix=$cache/googletest-mingw
[ -f "$prefix/.complete" ] && exit 0

build=$cache/googletest-mingw-build
cmake -S /usr/src/googletest -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=ON
cmake --build "$build" -j "$jobs"
cmake --install "$build"
touch "$prefix/.complete"
