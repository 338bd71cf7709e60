#!/usr/bin/env bash
# Builds the static libraries that the Windows build links for publishing, from Debian's own
# source packages, with mingw-w64: mbedTLS, libssh2 over mbedTLS (SFTP), and libcurl with
# Schannel for TLS (FTPS) and libssh2 for SFTP; and qrcodegen for the poster's QR code.
# Installs them into FOLDER/deps/prefix.
#
#   scripts/windows-deps.sh [--refresh] [FOLDER]     (FOLDER: the build folder, build-windows)
#
# Source packages come through apt with a sources list, state and cache of this script's own
# under FOLDER/deps/apt (the machine's apt configuration is only read, for its mirror). The
# result is cached: a run whose prefix is complete, built by this same script from the same
# package versions, does nothing. --refresh fetches the package lists again first, so a newer
# Debian revision of a package is built.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

refresh=0
if [ "${1:-}" = "--refresh" ]; then
    refresh=1
    shift
fi
folder="${1:-build-windows}"
deps="$root/$folder/deps"
prefix="$deps/prefix"
stamp="$prefix/pairweb-deps.stamp"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
log="$deps/build.log"
# Where the host suite's version is older than these, the package comes from the next Debian
# release: libssh2 before 1.11 cannot talk to current OpenSSH servers from Windows (no
# rsa-sha2 host keys over WinCNG); libcurl before 8.7 with Schannel waits on the data
# connection of an FTPS listing from vsftpd until its timeout, after the listing has come.
declare -A minimum=([libssh2]=1.11.1 [curl]=8.7.0)
newer_suite=trixie
libraries=(lib/libmbedcrypto.a lib/libssh2.a lib/libcurl.a include/curl/curl.h
           lib/libqrcodegencpp.a include/qrcodegen/qrcodegen.hpp)

"$root/scripts/deps.sh" cmake make g++-mingw-w64-x86-64-posix dpkg-dev xz-utils patch \
    debian-archive-keyring
mkdir -p "$deps"

# apt-get with the sources list, state and cache of deps/apt/LIST.
privateApt() {
    local dir="$deps/apt/$1"
    shift
    mkdir -p "$dir/state/lists/partial" "$dir/cache/archives/partial"
    apt-get -q -o Dir::Etc::SourceList="$dir/sources.list" \
        -o Dir::Etc::SourceParts=/nonexistent -o Dir::Etc::Preferences=/nonexistent \
        -o Dir::Etc::PreferencesParts=/nonexistent -o Dir::State="$dir/state" \
        -o Dir::Cache="$dir/cache" -o APT::Sandbox::User=root "$@"
}

# Writes deps/apt/LIST/sources.list: source entries for SUITE (and SUITE-updates,
# SUITE-security) on the mirrors that the machine uses for its own release.
writeSourcesList() {
    local list="$1" suite="$2" codename site release keyring=""
    codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    [ -f /usr/share/keyrings/debian-archive-keyring.gpg ] &&
        keyring="[signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] "
    mkdir -p "$deps/apt/$list"
    apt-get indextargets --format '$(TARGET_OF) $(SITE) $(RELEASE) $(COMPONENT)' | sort -u |
        while read -r kind site release component; do
            [ "$kind" = deb ] && [ "$component" = main ] || continue
            case "$release" in
                "$codename") echo "deb-src ${keyring}$site $suite main" ;;
                "$codename"-updates | "$codename"-security)
                    echo "deb-src ${keyring}$site $suite${release#"$codename"} main" ;;
            esac
        done > "$deps/apt/$list/sources.list.new"
    [ -s "$deps/apt/$list/sources.list.new" ] || {
        echo "windows-deps: no Debian mirror for $codename in the machine's apt sources" >&2
        exit 1
    }
    mv "$deps/apt/$list/sources.list.new" "$deps/apt/$list/sources.list"
}

# Fetches the package lists of LIST when they are missing or --refresh asks for it.
updateLists() {
    local list="$1" suite="$2"
    if [ "$refresh" = 1 ] || [ ! -f "$deps/apt/$list/sources.list" ] ||
        ! ls "$deps/apt/$list/state/lists/"*Sources* >/dev/null 2>&1; then
        writeSourcesList "$list" "$suite"
        privateApt "$list" update >"$deps/apt/$list/update.log" 2>&1 || {
            tail -n 20 "$deps/apt/$list/update.log" >&2
            echo "windows-deps: the package lists of $suite could not be fetched" >&2
            exit 1
        }
    fi
}

# The versions of source package PACKAGE that LIST offers, newest first (read from its
# lists, offline).
sourceVersions() {
    local versions=() v i j
    mapfile -t versions < <(apt-cache -o Dir::Etc::SourceList="$deps/apt/$1/sources.list" \
        -o Dir::Etc::SourceParts=/nonexistent -o Dir::State="$deps/apt/$1/state" \
        -o Dir::Cache="$deps/apt/$1/cache" showsrc "$2" 2>/dev/null |
        sed -n 's/^Version: //p' | sort -u)
    for ((i = 1; i < ${#versions[@]}; i++)); do
        v="${versions[i]}"
        for ((j = i - 1; j >= 0; j--)); do
            dpkg --compare-versions "${versions[j]}" lt "$v" || break
            versions[j + 1]="${versions[j]}"
        done
        versions[j + 1]="$v"
    done
    [ ${#versions[@]} -gt 0 ] || { echo "windows-deps: no source package $2 in $1's lists" >&2; exit 1; }
    printf '%s\n' "${versions[@]}"
}

# Downloads version VERSION of source package PACKAGE from LIST into deps/src, once per
# version (kept); false when the mirror does not give its files.
fetchSource() {
    local dir="$deps/src/$2_$3"
    ls "$dir"/*.dsc >/dev/null 2>&1 && return 0
    rm -rf "$dir"
    mkdir -p "$dir"
    (cd "$dir" && privateApt "$1" source --download-only "$2=$3") >>"$deps/fetch.log" 2>&1 && return 0
    rm -rf "$dir"
    return 1
}

# The version of PACKAGE to build: the newest one, at least MINIMUM, that LIST offers and
# whose files the mirror gives (a mirror may list a new version before it has its files).
chooseVersion() {
    local v
    for v in $(sourceVersions "$1" "$2"); do
        dpkg --compare-versions "$v" ge "$3" || break
        fetchSource "$1" "$2" "$v" && { echo "$v"; return 0; }
    done
    tail -n 20 "$deps/fetch.log" >&2
    echo "windows-deps: no version of the source package $2 (at least $3) could be fetched" >&2
    exit 1
}

codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
updateLists host "$codename"
declare -A listOf=() version=()
: > "$deps/fetch.log"
for pkg in mbedtls libssh2 curl; do
    listOf[$pkg]=host
    if [ -n "${minimum[$pkg]:-}" ] &&
        dpkg --compare-versions "$(sourceVersions host "$pkg" | head -n 1)" lt "${minimum[$pkg]}"; then
        updateLists newer "$newer_suite"
        listOf[$pkg]=newer
    fi
    version[$pkg]="$(chooseVersion "${listOf[$pkg]}" "$pkg" "${minimum[$pkg]:-0}")"
done
version[qr-code-generator]="$(sourceVersions host qr-code-generator | head -n 1)"

key="$(printf 'mbedtls %s\nlibssh2 %s\ncurl %s\nqrcodegen %s\nrecipe %s\n' "${version[mbedtls]}" \
    "${version[libssh2]}" "${version[curl]}" "${version[qr-code-generator]}" \
    "$(cat "$root/scripts/windows-deps.sh" "$toolchain" "$root"/scripts/patches/*.patch |
        sha256sum | cut -d' ' -f1)")"
complete=1
for file in "${libraries[@]}"; do
    [ -f "$prefix/$file" ] || complete=0
done
if [ "$complete" = 1 ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; then
    exit 0
fi

start=$SECONDS
echo "Building the Windows libraries (mbedtls ${version[mbedtls]}, libssh2 ${version[libssh2]}," \
    "curl ${version[curl]}, qrcodegen ${version[qr-code-generator]}) into $prefix; log in $log"
rm -rf "$prefix" "$deps/build"
mkdir -p "$prefix" "$deps/src"
: > "$log"

# Unpacks PACKAGE's source package, Debian's patches applied, into a fresh folder and prints
# it. The package's files are downloaded once per version and kept.
sourceTree() {
    local pkg="$1" dir="$deps/src/$1_${version[$1]}"
    if ! ls "$dir"/*.dsc >/dev/null 2>&1; then
        rm -rf "$dir"
        mkdir -p "$dir"
        (cd "$dir" &&
            privateApt "${listOf[$pkg]}" source --download-only "$pkg=${version[$pkg]}") \
            >>"$log" 2>&1 || {
            tail -n 20 "$log" >&2
            echo "windows-deps: the source package $pkg ${version[$pkg]} could not be fetched" >&2
            exit 1
        }
    fi
    find "$dir" -mindepth 1 -maxdepth 1 -type d -exec rm -rf {} +
    dpkg-source -x "$(ls "$dir"/*.dsc | head -n 1)" "$dir/tree" >>"$log" 2>&1 || {
        tail -n 20 "$log" >&2
        rm -rf "$dir"
        echo "windows-deps: the source package $pkg ${version[$pkg]} did not unpack" >&2
        exit 1
    }
    echo "$dir/tree"
}

# Applies a fix of the project's own (scripts/patches/) to a freshly unpacked TREE.
applyPatch() {
    patch -d "$1" -p1 -s -f <"$2" >>"$log" 2>&1 || {
        echo "windows-deps: $2 does not apply to $1" >&2
        exit 1
    }
}

# Configures, builds and installs one CMake project with the Windows toolchain.
cmakeInstall() {
    local name="$1" tree="$2"
    shift 2
    {
        cmake -S "$tree" -B "$deps/build/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
            -DBUILD_SHARED_LIBS=OFF "$@" &&
            cmake --build "$deps/build/$name" -j"$(nproc)" &&
            cmake --install "$deps/build/$name"
    } >>"$log" 2>&1 || {
        tail -n 40 "$log" >&2
        echo "windows-deps: $name did not build (log: $log)" >&2
        exit 1
    }
}

tree="$(sourceTree mbedtls)"
cmakeInstall mbedtls "$tree" \
    -DENABLE_TESTING=OFF -DENABLE_PROGRAMS=OFF -DMBEDTLS_FATAL_WARNINGS=OFF \
    -DUSE_SHARED_MBEDTLS_LIBRARY=OFF -DUSE_STATIC_MBEDTLS_LIBRARY=ON

tree="$(sourceTree libssh2)"
applyPatch "$tree" "$root/scripts/patches/libssh2-mbedtls-public-key.patch"
cmakeInstall libssh2 "$tree" \
    -DCRYPTO_BACKEND=mbedTLS -DBUILD_STATIC_LIBS=ON -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF \
    -DENABLE_ZLIB_COMPRESSION=OFF -DLIBSSH2_NO_DEPRECATED=OFF \
    -DMBEDTLS_INCLUDE_DIR="$prefix/include" -DMBEDCRYPTO_LIBRARY="$prefix/lib/libmbedcrypto.a"

# FTP, FTPS (Schannel) and SFTP (libssh2); of the other protocols only HTTP, which Debian's
# fixes of the FTP code build on. File names given to curl (certificate files, the netrc
# file) are UTF-8, as paths are inside the program.
tree="$(sourceTree curl)"
cmakeInstall curl "$tree" \
    -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF -DENABLE_CURL_MANUAL=OFF \
    -DBUILD_LIBCURL_DOCS=OFF -DBUILD_MISC_DOCS=OFF -DBUILD_EXAMPLES=OFF -DENABLE_UNICODE=ON \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=ON -DCURL_USE_LIBSSH=OFF \
    -DLIBSSH2_INCLUDE_DIR="$prefix/include" -DLIBSSH2_LIBRARY="$prefix/lib/libssh2.a" \
    -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_NGTCP2=OFF \
    -DUSE_QUICHE=OFF -DUSE_MSH3=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_USE_LIBPSL=OFF \
    -DCURL_USE_GSSAPI=OFF -DUSE_LIBRTMP=OFF -DENABLE_UNIX_SOCKETS=OFF \
    -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_DICT=ON \
    -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_IMAP=ON -DCURL_DISABLE_POP3=ON \
    -DCURL_DISABLE_SMTP=ON -DCURL_DISABLE_RTSP=ON -DCURL_DISABLE_TELNET=ON \
    -DCURL_DISABLE_TFTP=ON -DCURL_DISABLE_MQTT=ON -DCURL_DISABLE_SMB=ON -DCURL_DISABLE_FILE=ON

# qrcodegen's C++ library (source package qr-code-generator): one source file, compiled as
# Debian builds libqrcodegencpp. Debian's part of the package is packaging only; when the
# mirror cannot give it, the package's upstream tarball, which apt fetched, is enough.
qr="$deps/src/qr-code-generator_${version[qr-code-generator]}"
if ! ls -d "$qr"/*/cpp >/dev/null 2>&1; then
    rm -rf "$qr"
    mkdir -p "$qr"
    (cd "$qr" && privateApt host source "qr-code-generator=${version[qr-code-generator]}") \
        >>"$log" 2>&1 || (cd "$qr" && tar -xzf qr-code-generator_*.orig.tar.gz) >>"$log" 2>&1 || {
        tail -n 20 "$log" >&2
        echo "windows-deps: the source package qr-code-generator could not be fetched" >&2
        exit 1
    }
fi
tree="$(dirname "$(ls -d "$qr"/*/cpp | head -n 1)")"
mkdir -p "$deps/build/qrcodegen" "$prefix/lib" "$prefix/include/qrcodegen"
{
    x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -c "$tree/cpp/qrcodegen.cpp" \
        -o "$deps/build/qrcodegen/qrcodegen.o" &&
        x86_64-w64-mingw32-ar rcs "$prefix/lib/libqrcodegencpp.a" \
            "$deps/build/qrcodegen/qrcodegen.o" &&
        cp "$tree/cpp/qrcodegen.hpp" "$prefix/include/qrcodegen/"
} >>"$log" 2>&1 || {
    tail -n 40 "$log" >&2
    echo "windows-deps: qrcodegen did not build (log: $log)" >&2
    exit 1
}

# Sources of versions no longer built are not kept.
for dir in "$deps"/src/*; do
    case "${dir##*/}" in
        "mbedtls_${version[mbedtls]}" | "libssh2_${version[libssh2]}" | "curl_${version[curl]}" | \
            "qr-code-generator_${version[qr-code-generator]}") ;;
        *) rm -rf "$dir" ;;
    esac
done
echo "$key" > "$stamp"
echo "Windows libraries built in $((SECONDS - start)) s."
