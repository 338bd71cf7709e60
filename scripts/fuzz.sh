#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on its seed corpus:
# the bundled samples, plus the real tables and TRF files beside the project when they are
# there (read in place, never copied into the repository).
# Usage: scripts/fuzz.sh [SECONDS_EACH]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-20}"

scripts/deps.sh cmake clang libclang-rt-14-dev make libssl-dev libcurl4-openssl-dev \
    libqrcodegencpp-dev
CC=clang CXX=clang++ scripts/build.sh build-fuzz -DPAIRWEB_BUILD_FUZZ=ON \
    -DPAIRWEB_BUILD_TESTS=OFF -DPAIRWEB_BUILD_GUI=OFF

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
realdata="$root/../shared/realdata"
trfdata="$root/../shared/trf"

seed() {  # seed FOLDER PATTERN...
    local folder="$1"
    shift
    mkdir -p "$folder"
    for pattern in "$@"; do
        for f in $pattern; do
            [ -f "$f" ] && cp "$f" "$folder/$(echo "$f" | md5sum | cut -c1-16)"
        done
    done
    return 0
}
seed "$work/dbf_table_fuzz" "samples/*.trn" "samples/*.sco" "$realdata/*/*.trn" "$realdata/*/*.sco"
seed "$work/players_fuzz" "samples/*.trn" "$realdata/*/*.trn"
seed "$work/pairings_fuzz" "samples/*.sco" "$realdata/*/*.sco"
seed "$work/settings_fuzz" "samples/*.cfg"
seed "$work/trf_reader_fuzz" "$trfdata/*.trf"

for target in dbf_table_fuzz players_fuzz pairings_fuzz settings_fuzz trf_reader_fuzz; do
    echo "== $target: ${seconds}s"
    build-fuzz/bin/$target -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -print_final_stats=0 "$work/$target" 2>&1 | tail -n 3
    test "${PIPESTATUS[0]}" -eq 0
done
echo "Fuzzing found nothing."
