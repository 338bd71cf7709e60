#!/usr/bin/env bash
# Writes dist/pairweb-<version>-windows-x64.zip: pairweb.exe (the desktop app), pairweb-gen.exe,
# the pgnviewer folder, the
# two sample tournaments with settings files whose paths are relative to the unpacked
# folder, and a README.txt for Windows users. Cross-builds first when needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh cmake make g++-mingw-w64-x86-64-posix googletest zip
scripts/windows-configure.sh --if-needed
cmake --build "$root/build-windows" -j"$(nproc)" --target pairweb pairweb-gen pgnviewer_copy

version="$(sed -n 's/^project(pairweb VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="pairweb-$version-windows-x64"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
folder="$stage/$name"
mkdir -p "$folder/samples" "$folder/sites/swiss_open" "$folder/sites/round_robin"
x86_64-w64-mingw32-strip -o "$folder/pairweb.exe" build-windows/bin/pairweb.exe
x86_64-w64-mingw32-strip -o "$folder/pairweb-gen.exe" build-windows/bin/pairweb-gen.exe
cp -r pgnviewer "$folder/pgnviewer"
rm -rf "$folder/pgnviewer/node_modules"
for sample in swiss_open round_robin; do
    cp "samples/$sample.trn" "samples/$sample.sco" "$folder/samples/"
    {
        grep -v -e '^strFilename ' -e '^OutputIndex ' "samples/$sample.cfg" | tr -d '\r' |
            sed 's/$/\r/'
        printf 'strFilename [samples\\%s.trn]\r\n' "$sample"
        printf 'OutputIndex [sites\\%s\\index.html]\r\n' "$sample"
    } > "$folder/samples/$sample.cfg"
done
sed 's/$/\r/' > "$folder/README.txt" <<TEXT
pairweb $version for Windows

pairweb builds a tournament web site from the two tables of a SwissPerfect tournament
(the .trn players table and the .sco games table beside it).

The desktop app: double-click pairweb.exe. Browse for the .trn file, Open (choose) the home
page of the site, type the title, set the options and click "Generate HTML". Settings slots
1 to 8 are saved as pairweb1.cfg to pairweb8.cfg beside pairweb.exe, so keep this folder
where you may write (not under Program Files).

The command, for scripts and live publishing: open a command prompt in this folder and run

    pairweb-gen.exe samples\\swiss_open.cfg

The sample's site is written to sites\\swiss_open; open sites\\swiss_open\\index.html.

For your own event, copy samples\\swiss_open.cfg, set strFilename to your .trn file and
OutputIndex to the home page of your site (its folder must exist), for example

    strFilename [C:\\Events\\Open 2026\\open.trn]
    OutputIndex [C:\\Web\\open2026\\index.html]

and run pairweb-gen.exe with it. Keep the pgnviewer folder beside the programs: its files
are copied into the site for the PGN viewer.

Live publishing: pairweb-gen.exe --watch yourevent.cfg generates again whenever SwissPerfect
saves the tables or you edit the settings file. Leave the window open during the event;
Ctrl-C ends it.

Game entry on the site: with "Generate PGN Files" on, the site's admin.php lets you enter
games on a web host with PHP. Set its password first with

    pairweb-gen.exe --admin-password yourevent.cfg

(or "Set admin password..." on the PGN page of the app's options) and upload the site with
pgn\admin_password.php.

Exit status: 0 when the site was generated, 1 when the run ended with an error message,
2 for a usage error or a settings file that cannot be read.
TEXT
mkdir -p dist
rm -f "dist/$name.zip"
(cd "$stage" && zip -q -r "$root/dist/$name.zip" "$name")
echo "$root/dist/$name.zip"
