#!/usr/bin/env bash
# Installs what is missing, builds, generates the bundled sample tournament's site and
# prints where it is. Optional argument: another settings file (paths in it are taken
# relative to the repository's top folder).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh cmake g++ make libgtest-dev qt6-base-dev libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev
scripts/build.sh build

settings="${1:-samples/swiss_open.cfg}"
# The folder of the home page named in the settings must exist before the run.
index="$(sed -n 's/^OutputIndex \[\(.*\)\].*/\1/p' "$settings" | tr -d '\r' | tail -n 1)"
mkdir -p "$(dirname "$index")"

if build/bin/pairweb-gen "$settings"; then
    echo "Site written to: $(cd "$(dirname "$index")" && pwd)/$(basename "$index")"
else
    echo "The site could not be generated (see the message above)." >&2
    exit 1
fi
