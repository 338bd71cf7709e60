#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop app.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh cmake g++ make libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev
scripts/build.sh build
exec build/bin/pairweb "$@"
