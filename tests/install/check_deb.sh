#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks it as Debian would: lintian, the
# desktop entry, the AppStream metainfo, the manual pages, the hardening, the
# file list, and a clean install, removal and purge.
#   check_deb.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/veltrane_*.deb)
id=cn.korlund.Veltrane

fail() { echo "FAIL: $*" >&2; exit 1; }

# lintian: no error, no warning and no information tag.
report=$(lintian -I --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' || true)
if grep -E '^(E|W|I): ' <<<"$report"; then
    fail "lintian"
fi

# Depends: what dpkg-shlibdeps found, plus the fonts and the platform plugins,
# each once.
depends=$(dpkg-deb --field "$deb" Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 qt6-qpa-plugins qt6-translations-l10n fonts-arphic-uming; do
    [ "$(grep -o "\b$need\b" <<<"$depends" | wc -l)" -eq 1 ] || fail "Depends names $need not once: $depends"
done
grep -q -- '-dev\b' <<<"$depends" && fail "Depends names a -dev package: $depends"
[ "$(dpkg-deb --field "$deb" Package)" = veltrane ] || fail "package name"
dpkg-deb --field "$deb" Maintainer | grep -qv 'example\.' || fail "maintainer"

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}' | grep -v '/$' | sort)
expected=$( {
    printf '%s\n' ./usr/bin/veltrane ./usr/bin/veltrane-calc \
        ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
        ./usr/share/doc/veltrane/changelog.gz ./usr/share/doc/veltrane/copyright \
        ./usr/share/doc/veltrane/README.md \
        ./usr/share/man/man1/veltrane.1.gz ./usr/share/man/man1/veltrane-calc.1.gz \
        ./usr/share/icons/hicolor/scalable/apps/$id.svg
    for size in 16 22 24 32 48 64 128 256; do
        echo "./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    done
} | sort)
[ "$contents" = "$expected" ] || fail "files differ:
$contents"

tmp="$out/x"
dpkg-deb -x "$deb" "$tmp"
desktop-file-validate "$tmp/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$tmp/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"
entry="$tmp/usr/share/applications/$id.desktop"
grep -qx 'Exec=veltrane' "$entry" || fail "Exec"
grep -qx "Icon=$id" "$entry" || fail "Icon"
for size in 16 22 24 32 48 64 128 256; do
    file "$tmp/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
        fail "icon ${size}x${size}"
done
for page in veltrane veltrane-calc; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 \
        -l "$tmp/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done

# Hardening: full RELRO with immediate binding; stripped, with no debug files.
for binary in "$tmp"/usr/bin/*; do
    readelf -lW "$binary" | grep -q GNU_RELRO || fail "no RELRO in $binary"
    readelf -dW "$binary" | grep -q 'BIND_NOW' || fail "no BIND_NOW in $binary"
    file "$binary" | grep -q ', stripped' || fail "$binary is not stripped"
done

"$tmp/usr/bin/veltrane-calc" U60 0.25 500 0.017 1.0 | grep -q '谢才系数：C = 45.034' || fail "veltrane-calc"
# The installed veltrane-calc prints a sheet to PDF without a display.
(cd "$out" && env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/usr/bin/veltrane-calc" sheet U60 0.25 500 0.017 1.0 --pdf sheet.pdf) ||
    fail "veltrane-calc sheet --pdf"
head -c 5 "$out/sheet.pdf" | grep -q '%PDF-' || fail "sheet.pdf is not a PDF"

# Install, remove and purge into an empty root: nothing is left behind.
root="$out/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless \
    --log=/dev/null "$@" >/dev/null; }
dpkg_root --install "$deb"
[ -x "$root/usr/bin/veltrane-calc" ] || fail "install"
dpkg_root --remove veltrane
dpkg_root --purge veltrane
left=$(cd "$root" && find . -mindepth 1 -not -path './var/lib/dpkg*' -not -type d | sort)
[ -z "$left" ] || fail "left behind after purge: $left"
left_dirs=$(cd "$root" && find . -mindepth 1 -type d -not -path './var*' | sort)
[ -z "$left_dirs" ] || fail "folders left behind after purge: $left_dirs"
echo "package ok: $(basename "$deb")"
