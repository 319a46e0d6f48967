#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every option that veltrane-calc --help names appears in its manual page, so
# that the two cannot drift apart.
#   check_man.sh VELTRANE_CALC MAN_PAGE
set -euo pipefail
calc=$1
page=$2
missing=()
for option in $("$calc" --help | grep -oE '(^|[^a-z0-9-])--?[a-z][a-z0-9-]*' | grep -oE '\-\-?[a-z][a-z0-9-]*' | sort -u); do
    troff=${option//-/\\-}
    grep -qF -- "$troff" "$page" || missing+=("$option")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: options of --help missing from $page: ${missing[*]}" >&2
    exit 1
fi
echo "man page names every option of --help"
