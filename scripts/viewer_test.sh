#!/usr/bin/env bash
# Unit tests of the PGN viewer's script (node --test).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scripts="$root/scripts"
"$scripts/deps.sh" nodejs
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$root"/pgnviewer/*.js "$work/"
cp "$root/tests/pgnviewer/viewer_test.mjs" "$work/"
# The round files that the server's tests read too.
cp -r "$root/tests/pgnviewer/fixtures" "$work/"
echo '{"type": "module"}' > "$work/package.json"
node --test "$work/viewer_test.mjs"
