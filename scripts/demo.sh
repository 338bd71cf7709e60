#!/usr/bin/env bash
# Installs what is missing, builds, generates the bundled sample tournament's site and
# prints where it is. Optional argument: another settings file to generate from.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh cmake g++ make libgtest-dev
scripts/build.sh build -DPAIRWEB_BUILD_TESTS=OFF

site="$root/out/demo-site"
mkdir -p "$site"
settings="$site/demo.cfg"
template="${1:-$root/samples/swiss_open.cfg}"
# The sample settings name their tables and home page relative to the repository.
sed -e "s#@SAMPLES@#$root/samples#g" -e "s#@SITE@#$site#g" "$template" > "$settings"

if build/bin/pairweb-gen "$settings"; then
    echo "Site written to: $site/index.html"
else
    echo "The site could not be generated (see the message above)." >&2
    exit 1
fi
