#!/usr/bin/env bash
# Renders the README's screenshots of the app (offscreen, no display needed) and of the phone
# pages of the sample site (headless Chromium in phone emulation, light and dark) into docs/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh cmake g++ make libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev fonts-dejavu-core
scripts/build.sh build
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/bin/ui_screenshots docs samples/swiss_open.trn

scripts/deps.sh chromium nodejs npm
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
{
    cat samples/swiss_open.cfg
    printf 'strFilename [%s]\r\n' "$root/samples/swiss_open.trn"
    printf 'OutputIndex [%s]\r\n' "$work/index.html"
} > "$work/phone.cfg"
build/bin/pairweb-gen "$work/phone.cfg"
(cd tests/e2e && npm ci --no-audit --no-fund --silent)
node tests/e2e/phone.mjs "$work" docs --screenshots
echo "Screenshots written to docs/"
