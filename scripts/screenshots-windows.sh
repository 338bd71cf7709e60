#!/usr/bin/env bash
# Takes screenshots of the Windows app under wine (main dialog, About box, each page of the
# options sheet, the open palette) into docs/windows/ for the README.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh cmake make g++-mingw-w64-x86-64-posix wine wine64 googletest xvfb fonts-wine \
    netpbm
scripts/windows-configure.sh --if-needed
cmake --build build-windows -j"$(nproc)" --target win_screenshots

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
shots="$(mktemp -d)"
trap 'wine_env_stop; rm -rf "$shots"' EXIT
wine_env_start
[ -n "${DISPLAY:-}" ] || { echo "no display for wine: no screenshots" >&2; exit 1; }
timeout 120 wine build-windows/bin/win_screenshots.exe "Z:$(echo "$shots" | tr '/' '\\')" \
    'C:\Events\Open 2026\open2026.trn'
mkdir -p docs/windows
for bmp in "$shots"/*.bmp; do
    name="$(basename "$bmp" .bmp)"
    bmptopnm "$bmp" 2>/dev/null | pnmtopng -compression 9 > "docs/windows/$name.png" 2>/dev/null
done
echo "Screenshots written to docs/windows/"
