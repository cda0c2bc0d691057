#!/usr/bin/env bash
# usage: package_test.sh DEB
# Checks the Debian package scripts/package built: what it holds, what it
# depends on, that lintian finds no error, and that the program unpacked
# from it runs.
set -euo pipefail

deb=$1
id=org.velo.velo
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in usr/bin/velo "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
    "usr/share/mime/packages/$id.xml" "usr/share/icons/hicolor/scalable/apps/$id.svg" \
    usr/share/icons/hicolor/scalable/mimetypes/application-x-velo-document.svg \
    usr/share/doc/velo/copyright usr/share/doc/velo/changelog.gz usr/share/man/man1/velo.1.gz \
    usr/share/doc/velo/handbook/index.html; do
    grep -qx "\./$file" <<<"$contents" || fail "the package does not hold /$file"
done
grep -q '^\./usr/local' <<<"$contents" && fail "the package installs into /usr/local"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libspng0 libexiv2 libtiff6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
[ "$("$root/usr/bin/velo" --version)" = "velo $version" ] ||
    fail "the unpacked program does not say it is velo $version"

[ "$failures" -eq 0 ] && echo "the package is whole"
exit "$failures"
