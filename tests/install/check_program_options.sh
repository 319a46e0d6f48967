#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# veltrane --version and --help print and end with 0 where there is no
# display at all, and the desktop entry names the window's WM_CLASS (the
# program's file name, which Qt gives it) so that a dock matches the two.
# Usage: check_program_options.sh VELTRANE DESKTOP-FILE VERSION
set -eu
program=$1
desktop=$2
version=$3
fail() { echo "check_program_options: $*" >&2; exit 1; }

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) ||
    fail "--version ended with $?"
[ "$out" = "veltrane $version" ] || fail "--version printed '$out'"

expected='Usage: veltrane [-h | --help | --version]
The Veltrane program: uniform-flow depths of the standard precast U-channels
U60 to U140, in Chinese, in its welcome, main and calculation windows.

  -h, --help   show this text and end
  --version    show the version and end

Qt'"'"'s own options (-platform NAME, -display DISPLAY) are accepted as well.
The same calculation from a shell, with the calculation sheet: veltrane-calc.
See veltrane(1) and veltrane-calc(1).'
for option in --help -h; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$option") ||
        fail "$option ended with $?"
    [ "$out" = "$expected" ] || fail "$option printed: $out"
done

exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
[ "$wm_class" = "$(basename "$exec_name")" ] ||
    fail "StartupWMClass '$wm_class' is not the program's WM_CLASS '$(basename "$exec_name")'"
echo "veltrane answers --help and --version without a display; the desktop entry names its window"
