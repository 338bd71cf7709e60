#!/usr/bin/env bash
# Renders the README's screenshots of the app (offscreen, no display needed) into docs/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh cmake g++ make libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev fonts-dejavu-core
scripts/build.sh build
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/bin/ui_screenshots docs samples/swiss_open.trn
echo "Screenshots written to docs/"
