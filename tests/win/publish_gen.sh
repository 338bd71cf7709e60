#!/usr/bin/env bash
# pairweb-gen.exe under wine generates the sample site (with an accented file-name prefix)
# and publishes it to the server that with_test_server started; the remote tree must equal
# the local one, and a second run, with nothing changed, must upload nothing.
#
#   with_test_server sftp|ftp tests/win/publish_gen.sh PAIRWEB-GEN.EXE
#
# Run inside the wine environment of scripts/wine-env.sh (scripts/test-windows.sh does).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
exe="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
url="${PAIRWEB_TEST_SERVER_URL:?run this through with_test_server}"
remote="$PAIRWEB_TEST_SERVER_FOLDER"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$root/samples/swiss_open.trn" "$root/samples/swiss_open.sco" "$work/"
mkdir "$work/site"
windowsPath() { echo "Z:$1" | tr '/' '\\'; }
{
    printf 'strFilename [%s]\r\n' "$(windowsPath "$work/swiss_open.trn")"
    printf 'OutputIndex [%s]\r\n' "$(windowsPath "$work/site/index.html")"
    # The settings file keeps texts in Windows-1252: "Köln Open".
    printf 'MakePGN [1]\r\nLinkPGN [1]\r\nFnamePrefix [K\xf6ln Open]\r\n'
    printf 'PublishUrl [%s]\r\n' "$url"
    # with_test_server's FTP server speaks FTP without encryption.
    case "$url" in ftp://*) printf 'PublishPlainFtp [1]\r\n' ;; esac
    [ -z "${PAIRWEB_TEST_SERVER_KEY_FILE:-}" ] ||
        printf 'PublishKeyFile [%s]\r\n' "$(windowsPath "$PAIRWEB_TEST_SERVER_KEY_FILE")"
    [ -z "${PAIRWEB_TEST_SERVER_HOST_KEY:-}" ] ||
        printf 'PublishHostKey [%s]\r\n' "$PAIRWEB_TEST_SERVER_HOST_KEY"
} > "$work/publish.cfg"
export PAIRWEB_PUBLISH_PASSWORD="${PAIRWEB_TEST_SERVER_PASSWORD:-}"

publish() {  # publish EXPECTED-PREFIX: one run, which must succeed and say so
    local said status=0
    said="$(cd "$work" && wine "$exe" --publish "$(windowsPath "$work/publish.cfg")" 2>&1 |
        tr -d '\r')" || status=$?
    case "$said" in
        *"$1"*" files ("*" KB) to $url"*) ;;
        *)
            echo "pairweb-gen.exe --publish to $url (exit status $status) said: $said" >&2
            return 1
            ;;
    esac
    echo "$said" | tail -n 1
}

publish "Published "
files="$(cd "$work/site" && find . -type f ! -name .pairweb-published | wc -l)"
diff -r --exclude=.pairweb-published "$work/site" "$remote" >&2 ||
    { echo "the remote tree differs from the site that pairweb-gen.exe published" >&2; exit 1; }
[ -n "$(find "$remote" -name 'Köln Open*' -print -quit)" ] ||
    { echo "no remote file has the prefix's name in UTF-8" >&2; exit 1; }
publish "Published 0 of $files"
