#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a plain build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers, the browser tests and
# the game-entry pages and the Windows build under wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh cmake g++ make libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev vsftpd openssh-server python3-pyftpdlib openssl

scripts/build.sh build
(cd build && ctest --output-on-failure -j"$(nproc)")

scripts/build.sh build-asan -DPAIRWEB_SANITIZE=ON
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$(nproc)")

# Every reader of outside bytes, fuzzed for a bounded time under the sanitizers.
scripts/fuzz.sh 20

# The PGN viewer's script, the game-entry pages (PHP), then the whole sample site and game
# entry in headless Chromium.
scripts/viewer_test.sh
scripts/php_test.sh
scripts/e2e.sh

# The Windows build, cross-compiled and tested under wine.
scripts/test-windows.sh

echo "All tests passed."
