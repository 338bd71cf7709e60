#!/usr/bin/env bash
# Builds optimised and prints the generation benchmark's table and summary line, then the
# publishing benchmark's figures.
# Usage: scripts/bench.sh [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh cmake g++ make libgtest-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPAIRWEB_BUILD_GUI=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_generate bench_publish >/dev/null
build-bench/bin/bench_generate "${1:-5}"
build-bench/bin/bench_generate bigtable
# Publishing at full size to a loopback FTPS server (vsftpd; the benchmark starts it).
scripts/deps.sh vsftpd openssl
build-bench/bin/bench_publish
