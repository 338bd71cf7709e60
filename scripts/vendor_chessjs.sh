#!/usr/bin/env bash
# Fetches the chess.js library from the npm registry and vendors its single ES module file
# and licence into pgnviewer/ (the folder the program copies into every site's pgn/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
version="1.4.0"
# Integrity of chess.js-1.4.0.tgz as the registry publishes it.
integrity="$(npm view "chess.js@$version" dist.integrity)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
npm pack --silent "chess.js@$version" >/dev/null
actual="sha512-$(openssl dgst -sha512 -binary "chess.js-$version.tgz" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
    echo "chess.js $version: integrity mismatch" >&2
    exit 1
fi
tar xzf "chess.js-$version.tgz"
{
    echo "// chess.js $version (https://github.com/jhlywa/chess.js), BSD-2-Clause;"
    echo "// see chess.js-LICENSE.txt. Vendored unchanged from the npm package by"
    echo "// scripts/vendor_chessjs.sh."
    cat package/dist/esm/chess.js
} > "$root/pgnviewer/chess.js"
cp package/LICENSE "$root/pgnviewer/chess.js-LICENSE.txt"
echo "Vendored chess.js $version into pgnviewer/"
