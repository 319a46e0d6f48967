#!/usr/bin/env bash
# Builds the Debian package and checks its dependencies and file list.
#   check_deb.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/veltrane_*.deb)

fail() { echo "FAIL: $*" >&2; exit 1; }

depends=$(dpkg-deb --field "$deb" Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 qt6-qpa-plugins fonts-arphic-uming; do
    grep -q "\b$need\b" <<<"$depends" || fail "Depends lacks $need: $depends"
done
grep -q -- '-dev\b' <<<"$depends" && fail "Depends names a -dev package: $depends"
[ "$(dpkg-deb --field "$deb" Package)" = veltrane ] || fail "package name"

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}' | grep -v '/$' | sort)
expected=$(printf '%s\n' \
    ./usr/bin/veltrane \
    ./usr/bin/veltrane-calc \
    ./usr/share/applications/veltrane.desktop \
    ./usr/share/icons/hicolor/32x32/apps/veltrane.png | sort)
[ "$contents" = "$expected" ] || fail "files differ:
$contents"

# The menu entry starts the installed program with the installed icon.
tmp="$out/x"
dpkg-deb -x "$deb" "$tmp"
entry="$tmp/usr/share/applications/veltrane.desktop"
grep -qx 'Exec=veltrane' "$entry" || fail "Exec"
grep -qx 'Icon=veltrane' "$entry" || fail "Icon"
grep -qx 'Name=Veltrane' "$entry" || fail "Name"
grep -q '^Name\[zh_CN\]=' "$entry" || fail "zh_CN name"
grep -q '^Categories=.*Science' "$entry" || fail "Categories"
file "$tmp/usr/share/icons/hicolor/32x32/apps/veltrane.png" | grep -q '32 x 32' || fail "icon size"
"$tmp/usr/bin/veltrane-calc" U60 0.25 500 0.017 1.0 | grep -q '谢才系数：C = 45.034' || fail "veltrane-calc"
# The installed veltrane-calc prints a sheet to PDF without a display.
(cd "$out" && env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/usr/bin/veltrane-calc" sheet U60 0.25 500 0.017 1.0 --pdf sheet.pdf) ||
    fail "veltrane-calc sheet --pdf"
head -c 5 "$out/sheet.pdf" | grep -q '%PDF-' || fail "sheet.pdf is not a PDF"
echo "package ok: $(basename "$deb")"
