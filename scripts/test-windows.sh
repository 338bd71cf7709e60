#!/usr/bin/env bash
# Cross-builds pairweb for 64-bit Windows with mingw-w64 into build-windows/ and runs the
# tests under wine, with one wine prefix under the build folder and a persistent wine
# server for the whole run (stopped at the end).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh cmake make g++-mingw-w64-x86-64-posix wine wine64 googletest

export WINEPREFIX="$root/build-windows/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# The prefix is made once per build folder; later runs reuse it.
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1

cmake -S "$root" -B "$root/build-windows" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DPAIRWEB_BUILD_GUI=OFF -DPAIRWEB_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build "$root/build-windows" -j"$(nproc)"
(cd build-windows && TZ=UTC ctest --output-on-failure -j"$(nproc)")

scripts/compare-windows.sh
echo "Windows tests passed."
