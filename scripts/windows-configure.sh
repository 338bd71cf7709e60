#!/usr/bin/env bash
# Configures the Windows cross-build with mingw-w64: the toolchain file, GoogleTest built from
# the sources Debian ships, and the static libraries for publishing (scripts/windows-deps.sh,
# cached) built first. Every Windows script configures through this one.
#
#   scripts/windows-configure.sh [--if-needed] [FOLDER]     (FOLDER: build-windows)
#
# --if-needed leaves a folder that is configured already as it is (its build re-runs CMake
# itself when a CMakeLists.txt changed); the libraries are checked either way.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

ifNeeded=0
if [ "${1:-}" = "--if-needed" ]; then
    ifNeeded=1
    shift
fi
folder="${1:-build-windows}"

"$root/scripts/deps.sh" cmake make g++-mingw-w64-x86-64-posix googletest
"$root/scripts/windows-deps.sh" "$folder"
if [ "$ifNeeded" = 0 ] || [ ! -f "$root/$folder/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DPAIRWEB_BUILD_GUI=OFF -DPAIRWEB_GTEST_SOURCE=/usr/src/googletest >/dev/null
fi
