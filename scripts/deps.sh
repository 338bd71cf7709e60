#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet.
# Uses sudo only when not running as root. Safe to run any number of times.
set -euo pipefail

missing=()
for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Server packages (vsftpd, OpenSSH) that the tests start themselves, on loopback, with
# their own configuration: their install must not start the system's own daemons. A
# policy-rc.d that refuses every start does that for the length of the install.
policy=/usr/sbin/policy-rc.d
made_policy=
if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
    "${sudo[@]}" chmod 755 "$policy"
    made_policy=1
fi
status=0
"${sudo[@]}" apt-get update -qq || status=$?
[ "$status" -eq 0 ] &&
    { "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" || status=$?; }
[ -n "$made_policy" ] && "${sudo[@]}" rm -f "$policy"
exit "$status"
