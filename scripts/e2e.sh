#!/usr/bin/env bash
# Browser test: builds the sample site into a temporary folder, serves it on 127.0.0.1 and
# drives headless Chromium through it. Screenshots are kept in build/e2e-artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh chromium nodejs
command -v npm >/dev/null || scripts/deps.sh npm
# Builds (or refreshes) pairweb-gen and the viewer files beside it.
scripts/build.sh build

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/site"
# The sample's settings, with the tables and the home page moved to absolute paths and a
# title in Windows-1252 ("Köln Open – 2026"), as the site's texts are.
{
    cat samples/swiss_open.cfg
    printf 'strFilename [%s]\r\n' "$root/samples/swiss_open.trn"
    printf 'OutputIndex [%s]\r\n' "$work/site/index.html"
    printf 'TourneyName [K\xF6ln Open \x96 2026]\r\n'
} > "$work/e2e.cfg"
build/bin/pairweb-gen "$work/e2e.cfg"

(cd tests/e2e && npm ci --no-audit --no-fund --silent)
artifacts="$root/build/e2e-artifacts"
rm -rf "$artifacts"
node tests/e2e/e2e.mjs "$work/site" "$artifacts"
