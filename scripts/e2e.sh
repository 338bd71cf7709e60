#!/usr/bin/env bash
# Browser test: builds the sample site into a temporary folder, serves it on 127.0.0.1 and
# drives headless Chromium through it, the phone pages in phone emulation included.
# Screenshots are kept in build/e2e-artifacts/.
# PAIRWEB_GEN=path/bin/pairweb-gen uses that program (with the viewer files beside it, as its
# build puts them) instead of building build/; screenshots then go to path/e2e-artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh chromium nodejs php-cli
command -v npm >/dev/null || scripts/deps.sh npm
# Builds (or refreshes) pairweb-gen and the viewer files beside it.
if [[ -z "${PAIRWEB_GEN:-}" ]]; then
    scripts/build.sh build
fi
gen="${PAIRWEB_GEN:-$root/build/bin/pairweb-gen}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/site"
# The sample's settings, with the tables and the home page moved to absolute paths and a
# title and file-name prefix in Windows-1252 ("Köln Open – 2026", "Köln Open"), as the
# site's texts are.
{
    cat samples/swiss_open.cfg
    printf 'strFilename [%s]\r\n' "$root/samples/swiss_open.trn"
    printf 'OutputIndex [%s]\r\n' "$work/site/index.html"
    printf 'TourneyName [K\xF6ln Open \x96 2026]\r\n'
    # A file-name prefix with a blank and an accent: the PGN files' names and links.
    printf 'FnamePrefix [K\xF6ln Open]\r\n'
} > "$work/e2e.cfg"
"$gen" "$work/e2e.cfg"

(cd tests/e2e && npm ci --no-audit --no-fund --silent)
artifacts="$(dirname "$(dirname "$gen")")/e2e-artifacts"
rm -rf "$artifacts"
node tests/e2e/e2e.mjs "$work/site" "$artifacts"

# The phone pages of the sample site with a public address (so with its poster), in phone
# emulation, light and dark; then Lighthouse (mobile) on three of them, the slower step.
mkdir -p "$work/phone"
{
    cat samples/swiss_open.cfg
    printf 'strFilename [%s]\r\n' "$root/samples/swiss_open.trn"
    printf 'OutputIndex [%s]\r\n' "$work/phone/index.html"
    printf 'PublicUrl [https://club.example.org/open2026/]\r\n'
} > "$work/phone.cfg"
"$gen" "$work/phone.cfg"
node tests/e2e/phone.mjs "$work/phone" "$artifacts"
node tests/e2e/phone.mjs "$work/phone" "$artifacts" --lighthouse

# Game entry: a site with PGN files and its admin password, served by PHP's own server,
# made from the sample's tables with two players' surnames that are markup and PGN quoting.
mkdir -p "$work/entry"
node tests/e2e/hostile_tables.mjs samples/swiss_open.trn "$work/hostile.trn"
cp samples/swiss_open.sco "$work/hostile.sco"
{
    cat samples/swiss_open.cfg
    printf 'strFilename [%s]\r\n' "$work/hostile.trn"
    printf 'OutputIndex [%s]\r\n' "$work/entry/index.html"
    printf 'MakePGN [1]\r\nLinkPGN [1]\r\n'
} > "$work/entry.cfg"
"$gen" "$work/entry.cfg"
password="board one, e4"
printf '%s\n' "$password" | "$gen" --admin-password "$work/entry.cfg"
port="$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); echo substr(strrchr(stream_socket_get_name($s, false), ":"), 1);')"
# In a session of its own (its pid is its process group), so that the trap ends the server
# with every process it starts.
setsid php -S "127.0.0.1:$port" -t "$work/entry" >/dev/null 2>&1 &
server=$!
trap 'kill -- -"$server" 2>/dev/null || kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
node tests/e2e/game_entry.mjs "http://127.0.0.1:$port" "$work/entry" "$password" "$artifacts"
