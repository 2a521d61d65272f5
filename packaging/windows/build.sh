#!/usr/bin/env bash
# The portable Windows folder and zip: Qt for MinGW (built once into the
# cache), the whole project cross-built against it, installed flat, then
# checked under Wine and Xvfb against the Linux build.
# Usage: build.sh ROOT CACHE JOBS TOOLCHAIN_FILE
set -euo pipefail

root=$1
cache=$2
jobs=$3
toolchain=$4
dir=$root/build-windows
folder=$dir/tesmara-windows-x64

started=$(date +%s)
"$root/packaging/windows/build-qt.sh" "$cache" "$jobs" "$toolchain" >&2
"$root/packaging/windows/build-googletest.sh" "$cache" "$jobs" "$toolchain" >&2
echo "windows: Qt and GoogleTest ready after $(($(date +%s) - started)) s" >&2

# Qt's toolchain file finds the Windows Qt and the host's tools, then loads ours.
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$cache/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_FIND_ROOT_PATH="$cache/qt6-mingw;$cache/googletest-mingw" >&2
fi
cmake --build "$dir" -j "$jobs" >&2
rm -rf "$folder" "$folder.zip"
cmake --install "$dir" --prefix "$folder" --strip >&2
(cd "$dir" && zip -q -r -9 "$(basename "$folder").zip" "$(basename "$folder")")

"$root/packaging/windows/smoke.sh" "$root" "$dir" "$folder"
echo "windows: $(du -sh "$folder" | cut -f1) folder, $(du -h "$folder.zip" | cut -f1) zip" >&2
echo "$folder.zip"
