#!/usr/bin/env bash
# Cross-builds pairweb for 64-bit Windows with mingw-w64 into build-windows/ and runs the
# tests under wine, with one wine prefix under the build folder and a persistent wine
# server for the whole run (stopped at the end).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 \
    googletest zip unzip xvfb fonts-wine
start=$SECONDS

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start

scripts/windows-configure.sh
cmake --build "$root/build-windows" -j"$(nproc)"

# The programs of the zip need only the system's own DLLs: libcurl, libssh2, mbedTLS and the
# compiler's libraries are linked in.
systemDlls='kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|bcrypt|'
systemDlls+='crypt32|ws2_32|secur32|iphlpapi|winmm|msvcrt|ucrtbase|shlwapi|normaliz|api-ms-win-.*'
for exe in pairweb-gen.exe pairweb.exe; do
    imports="$(x86_64-w64-mingw32-objdump -p "build-windows/bin/$exe" |
        sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')"
    [ -n "$imports" ] || { echo "$exe: no imported DLLs read" >&2; exit 1; }
    others="$(echo "$imports" | grep -v -x -E "($systemDlls)\.dll" || true)"
    [ -z "$others" ] || {
        echo "$exe imports DLLs that Windows does not have: $(echo "$others" | tr "\n" " ")" >&2
        exit 1
    }
done
(cd build-windows && TZ=UTC ctest --output-on-failure -j"$(nproc)")

# The same sites from Windows and Linux, byte for byte.
[ -x build/bin/pairweb-gen ] || scripts/build.sh build
scripts/compare-windows.sh

# The app publishing for real: pairweb.exe's dialogs driven under wine against a loopback FTP
# server that the Linux build's with_test_server starts and stops around the test program.
cmake --build build --target with_test_server >/dev/null
build/bin/with_test_server ftp cmake/wine-run.sh build-windows/bin/win_publish_tests.exe

# pairweb-gen.exe publishing for real over SFTP (libssh2 over mbedTLS) to a loopback sshd
# started the same way. FTP with TLS cannot be run under wine: wine's Schannel does not
# finish the TLS handshake of an FTP data connection (a listing waits until the stall bound).
build/bin/with_test_server sftp tests/win/publish_gen.sh build-windows/bin/pairweb-gen.exe
echo "skipped under wine: pairweb-gen.exe and pairweb.exe publishing over FTP with TLS" \
    "(wine's Schannel does not finish the TLS handshake of an FTP data connection)"

# The zip unpacks into a folder from which the sample's settings write the sample site.
work="$(mktemp -d)"
trap 'wine_env_stop; rm -rf "$work"' EXIT
zip="$(scripts/package-windows.sh | tail -n 1)"
(cd "$work" && unzip -q "$zip")
folder="$(echo "$work"/pairweb-*-windows-x64)"
said="$(cd "$folder" && wine pairweb-gen.exe 'samples\swiss_open.cfg')"
[ "$said" = "Web page generated!" ] && [ -f "$folder/sites/swiss_open/crosstable.html" ] &&
    [ -f "$folder/pairweb.exe" ] &&
    [ -f "$folder/sites/swiss_open/pgn/ltpgnviewer.html" ] || {
    echo "the packaged pairweb-gen.exe did not write the sample site: $said" >&2
    exit 1
}

# The admin password from the packaged pairweb-gen.exe (CNG's PBKDF2) is the one PHP checks.
said="$(cd "$folder" && printf 'correct horse\n' | wine pairweb-gen.exe --admin-password 'samples\swiss_open.cfg')"
case "$said" in "Admin password set in "*) ;; *) echo "--admin-password said: $said" >&2; exit 1 ;; esac
if command -v php >/dev/null; then
    php -r '$h = include $argv[1]; exit(hash_equals(hex2bin($h["hash"]), hash_pbkdf2("sha256",
        "correct horse", hex2bin($h["salt"]), $h["iterations"], 32, true)) ? 0 : 1);' \
        "$folder/sites/swiss_open/pgn/admin_password.php" ||
        { echo "PHP does not accept the password hash written on Windows" >&2; exit 1; }
else
    echo "php is not installed: the Windows password hash was not checked with PHP"
fi

# --watch on Windows: a first run, then a run after the games table is saved again. (wine
# cannot deliver Ctrl-C to a console here, so the watcher is ended by killing it.)
cp -r samples "$work/watch"
mkdir -p "$work/watch/site"
printf 'strFilename [Z:%s]\r\nOutputIndex [Z:%s]\r\n' "$work/watch/swiss_open.trn" \
    "$work/watch/site/index.html" | tr '/' '\\' > "$work/watch/w.cfg"
wine build-windows/bin/pairweb-gen.exe --watch "Z:$(echo "$work/watch/w.cfg" | tr '/' '\\')" \
    > "$work/watch.out" 2>&1 &
watcher=$!
waitForLines() {  # waitForLines N: until the watcher printed N lines (20 s at most)
    for _ in $(seq 200); do
        count="$(grep -c 'Web page generated!' "$work/watch.out" 2>/dev/null)" || count=0
        [ "$count" -ge "$1" ] && return 0
        sleep 0.1
    done
    echo "pairweb-gen.exe --watch printed: $(cat "$work/watch.out")" >&2
    return 1
}
waitForLines 1
sleep 1.2
cp samples/swiss_open.sco "$work/watch/swiss_open.sco.new"
mv -f "$work/watch/swiss_open.sco.new" "$work/watch/swiss_open.sco"
touch "$work/watch/swiss_open.sco"
waitForLines 2
kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true

echo "Windows tests passed in $((SECONDS - start)) s."
