#!/usr/bin/env bash
# Checks that pairweb-gen.exe under wine (with backslash paths) and the Linux pairweb-gen
# write byte-identical sites for the bundled samples and every real tournament beside the
# project. Sites go to a temporary folder that is removed at the end (real names are never
# published). Expects build/ and build-windows/ built, and WINEPREFIX set by the caller.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

linux="$root/build/bin/pairweb-gen"
windows="$root/build-windows/bin/pairweb-gen.exe"
[ -x "$linux" ] || scripts/build.sh build
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1796652309 TZ=UTC

# Every option that changes pages on, from the sample's settings.
options="$(grep -v -e '^strFilename ' -e '^OutputIndex ' samples/swiss_open.cfg)"
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

count=0
while IFS= read -r -d '' trn; do
    name="site$count"
    count=$((count + 1))
    mkdir -p "$work/linux/$name" "$work/windows/$name"
    {
        printf '%s\r\n' "$options"
        printf 'strFilename [%s]\r\n' "$trn"
        printf 'OutputIndex [%s]\r\n' "$work/linux/$name/index.html"
    } > "$work/$name-linux.cfg"
    {
        printf '%s\r\n' "$options"
        printf 'strFilename [%s]\r\n' "$(winpath "$trn")"
        printf 'OutputIndex [%s]\r\n' "$(winpath "$work/windows/$name/index.html")"
    } > "$work/$name-windows.cfg"
    linuxSays="$("$linux" "$work/$name-linux.cfg")"
    windowsSays="$(wine "$windows" "$(winpath "$work/$name-windows.cfg")")"
    if [ "$linuxSays" != "Web page generated!" ] || [ "$linuxSays" != "$windowsSays" ]; then
        echo "$trn: Linux says \"$linuxSays\", Windows says \"$windowsSays\"" >&2
        exit 1
    fi
done < <(find "$root/samples" "$root/../shared/realdata" -name '*.trn' -print0 2>/dev/null | sort -z)

if ! diff -r "$work/linux" "$work/windows" >"$work/diff.txt"; then
    head -n 20 "$work/diff.txt" >&2
    echo "The Windows and Linux sites differ." >&2
    exit 1
fi
echo "Windows and Linux wrote byte-identical sites for $count tournaments."
