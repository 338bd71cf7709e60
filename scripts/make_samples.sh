#!/usr/bin/env bash
# Rebuilds the sample tournaments in samples/ with the generator in tools/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh cmake g++ make libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev
scripts/build.sh build
build/bin/make_samples samples
echo "Samples written to $root/samples"
