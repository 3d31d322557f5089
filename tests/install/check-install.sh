#!/usr/bin/env bash
# Installs the build into a fresh prefix and finds every file where the freedesktop
# specifications (and the FHS) put it.
set -euo pipefail
build_dir=${1:?usage: check-install.sh BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" > /dev/null

status=0
expect() {
    if [ ! -s "$prefix/$1" ]; then
        echo "missing: $1"
        status=1
    fi
}
expect bin/lumetra
expect bin/lumetra-cli
expect share/applications/lumetra.desktop
expect share/mime/packages/lumetra.xml
expect share/man/man1/lumetra.1
expect share/man/man1/lumetra-cli.1
expect share/doc/lumetra/help/contents.html
for size in 16 22 24 32 48 64 128 256; do
    expect "share/icons/hicolor/${size}x${size}/apps/lumetra.png"
    expect "share/icons/hicolor/${size}x${size}/mimetypes/application-x-lumetra-data.png"
done
[ -x "$prefix/bin/lumetra-cli" ] || { echo "lumetra-cli is not executable"; status=1; }

# Each icon is a PNG of its folder's size.
for png in "$prefix"/share/icons/hicolor/*/*/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
    if [ "${w}x${h}" != "$size" ]; then
        echo "$png is ${w}x${h}, not $size"
        status=1
    fi
done

desktop-file-validate "$prefix/share/applications/lumetra.desktop" || status=1
grep -q '^MimeType=application/x-lumetra-data;$' "$prefix/share/applications/lumetra.desktop" ||
    { echo "the desktop entry does not name the data file type"; status=1; }
# The installed help is the help the program shows.
cmp -s "$prefix/share/doc/lumetra/help/contents.html" "$(dirname "$0")/../../resources/help/contents.html" ||
    { echo "installed help differs"; status=1; }
man -l "$prefix/share/man/man1/lumetra-cli.1" > /dev/null 2>&1 ||
    { echo "lumetra-cli.1 is not a readable man page"; status=1; }

# The data file type is one the MIME database takes: it is compiled into its own entry, with
# the "@" magic and the *.dat glob.
update-mime-database "$prefix/share/mime" > /dev/null 2>&1
type_file="$prefix/share/mime/application/x-lumetra-data.xml"
[ -s "$type_file" ] || { echo "the MIME database did not take the data file type"; status=1; }
grep -q 'application/x-lumetra-data' "$prefix/share/mime/globs2" || { echo "no *.dat glob"; status=1; }
grep -q 'x-lumetra-data' "$prefix/share/mime/magic" || { echo "no magic for the data file type"; status=1; }
[ $status -eq 0 ] && echo "install layout complete"
exit $status
