#!/usr/bin/env bash
# The site's game-entry pages (PHP): PHPUnit tests of their library, and tests over real
# HTTP against PHP's own server on a site that pairweb-gen generates.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh php-cli phpunit
# pairweb-gen and the copy of pgnviewer/ beside it, current.
scripts/build.sh build
PAIRWEB_GEN="$root/build/bin/pairweb-gen" phpunit --colors=never tests/php
