#!/usr/bin/env bash
# Fetches the chess.js library from the npm registry and vendors it into pgnviewer/ (the
# folder the program copies into every site's pgn/): its ES module build, reformatted by
# terser without comments (the code itself is unchanged), and its licence.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
version="1.4.0"
terser_version="5.51.4"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
integrity="$(npm view "chess.js@$version" dist.integrity)"
npm pack --silent "chess.js@$version" >/dev/null
actual="sha512-$(openssl dgst -sha512 -binary "chess.js-$version.tgz" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
    echo "chess.js $version: integrity mismatch" >&2
    exit 1
fi
tar xzf "chess.js-$version.tgz"
npm install --silent --no-audit --no-fund --prefix "$work/tools" "terser@$terser_version" >/dev/null
"$work/tools/node_modules/.bin/terser" package/dist/esm/chess.js --module \
    --format comments=false,beautify=true -o chess.js
{
    echo "// chess.js $version (https://github.com/jhlywa/chess.js), BSD-2-Clause licence in"
    echo "// chess.js-LICENSE.txt. Built by scripts/vendor_chessjs.sh from the npm package."
    cat chess.js
} > "$root/pgnviewer/chess.js"
cp package/LICENSE "$root/pgnviewer/chess.js-LICENSE.txt"
echo "Vendored chess.js $version into pgnviewer/"
