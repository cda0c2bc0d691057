#!/usr/bin/env bash
# usage: installed_files_test.sh BUILD_DIR IMAGE
# Installs BUILD_DIR into a temporary prefix, validates the desktop entry, the
# AppStream file and the MIME package there, checks the handbook is there with
# its pictures, and that a Velo document is recognised by its name and by its
# content. Exits 77 when a tool is missing.
set -euo pipefail

build=$1
image=$2
id=org.velo.velo

for tool in cmake desktop-file-validate appstreamcli update-mime-database xdg-mime mimetype; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

expect_file() {
    [ -s "$prefix/$1" ] || fail "$1 is not installed"
}

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/velo" ] || fail "bin/velo is not installed as a program"
expect_file "share/applications/$id.desktop"
expect_file "share/metainfo/$id.metainfo.xml"
expect_file "share/mime/packages/$id.xml"
expect_file "share/icons/hicolor/scalable/apps/$id.svg"
expect_file "share/icons/hicolor/scalable/mimetypes/application-x-velo-document.svg"

# The handbook Help ▸ Velo Handbook opens, with every picture it shows.
handbook=share/doc/velo/handbook
expect_file "$handbook/index.html"
expect_file "$handbook/handbook.css"
if [ -s "$prefix/$handbook/index.html" ]; then
    for picture in $(sed -n 's/.*<img [^>]*src="\([^"]*\)".*/\1/p' "$prefix/$handbook/index.html"); do
        expect_file "$handbook/$picture"
    done
fi

desktop_entry=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop_entry" || fail "desktop-file-validate rejects the desktop entry"
grep -Eq '^MimeType=(.*;)?application/x-velo-document;' "$desktop_entry" ||
    fail "the desktop entry does not offer to open Velo documents"
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop_types=$(sed -n 's/^MimeType=//p' "$desktop_entry" | tr ';' '\n' | sed '/^$/d' | sort)
metainfo_types=$(sed -n 's:.*<mediatype>\(.*\)</mediatype>.*:\1:p' "$metainfo" | sort)
[ "$desktop_types" = "$metainfo_types" ] ||
    fail "the desktop entry and the metainfo file name different file types"
appstreamcli validate --pedantic --no-net "$metainfo" ||
    fail "appstreamcli rejects the metainfo file"

XDG_DATA_DIRS="$prefix/share:/usr/share" update-mime-database "$prefix/share/mime"

# A document made by the installed program, once with its extension and once
# without, and a file that only its name marks as a document.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/config
mkdir -p "$HOME"
"$prefix/bin/velo" new "$tmp/photo.velo" "$image" --map '#ff0000>#0000ff'
cp "$tmp/photo.velo" "$tmp/photo-without-extension"
echo "not an archive" >"$tmp/notes.velo"

# The generic desktop: xdg-mime asks shared-mime-info's database through `mimetype`,
# with nothing but the temporary prefix and the system's types to look in.
filetype() {
    env -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u MATE_DESKTOP_SESSION_ID \
        -u DESKTOP_SESSION -u LXQT_SESSION_CONFIG -u DISPLAY \
        XDG_CURRENT_DESKTOP=X-Generic XDG_DATA_DIRS="$prefix/share:/usr/share" \
        XDG_DATA_HOME="$tmp/empty" xdg-mime query filetype "$1"
}
mkdir -p "$tmp/empty"
for file in photo.velo photo-without-extension notes.velo; do
    type=$(filetype "$tmp/$file")
    [ "$type" = application/x-velo-document ] ||
        fail "$file is taken for '$type', not application/x-velo-document"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "the installed files validate and Velo documents are recognised by name and by content"
