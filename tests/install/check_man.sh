#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every option that veltrane-calc --help names appears in its manual page, and
# every field its JSON output holds in the page's JSON OUTPUT section, so that
# they cannot drift apart.
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
# The fields of every command's JSON, reports, messages, criteria and
# failures included. Members named after a section (U60 …) are described
# as such.
json_section=$(sed -n '/^\.SH JSON OUTPUT/,/^\.SH EXIT STATUS/p' "$page" | sed 's/\\-/-/g')
[ -n "$json_section" ] || { echo "FAIL: $page has no JSON OUTPUT section" >&2; exit 1; }
fields=$(
    for args in "U60 0.25 500 0.017 1" "U60 abc 500 0.017 1" "U60 3 500 0.017 1" \
        "fit 0.25 500 0.017 1 --min-freeboard 0.1 --max-velocity 0.5 --min-velocity 0.1 --min-discharge 0.1" \
        "fit 9 500 0.017 1" "table U60 500 0.017 --step 0.3" "capacity U60 500 0.017 1" \
        "capacity U60 500 0.017 1 --min-velocity 3" "solve-slope U60 0.25 0.017 1" \
        "solve-slope U60 9 0.017 1" "select-table 0.014 1 --slopes 500 --min-freeboard 0.5" \
        "profile - --factor 1.2 --min-freeboard 0.3"; do
        # shellcheck disable=SC2086
        "$calc" --json $args <<<$'name,length,size,slope,roughness,discharge,bed,loss,level\n'\
$'陡槽,60,U60,25,0.014,0.25,10,,\n缓坡,300,U60,800,0.017,0.25,,0.1,20\n' || true
    done | /usr/bin/python3 -c '
import json, sys
keys = set()
def walk(o):
    if isinstance(o, dict):
        for k, v in o.items():
            keys.add(k)
            walk(v)
    elif isinstance(o, list):
        for v in o:
            walk(v)
for line in sys.stdin:
    walk(json.loads(line))
print("\n".join(sorted(k for k in keys if not (k[0] == "U" and k[1:].isdigit()))))'
)
missing=()
for field in $fields; do
    grep -qE "(^|[ (])$field([ ,;:)]|$)" <<<"$json_section" || missing+=("$field")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: JSON fields missing from $page's JSON OUTPUT: ${missing[*]}" >&2
    exit 1
fi
echo "man page names every option of --help and every JSON field ($(wc -w <<<"$fields") of them)"
