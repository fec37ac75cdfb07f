#!/bin/sh
# Compares the option names (words starting with --) that PROGRAM --help prints with those its
# manual page PAGE lists. A program not built, or without --help and --version yet, is skipped
# (status 77).
program=$1 page=$2
[ -x "$program" ] || exit 77
run() { QT_QPA_PLATFORM=offscreen timeout 5 "$program" "$1" </dev/null 2>/dev/null; }
run --version >/dev/null || exit 77
help=$(run --help) || exit 77
options() { grep -o -e '--[a-z][a-z0-9-]*' | sort -u | tr '\n' ' '; }
from_help=$(printf '%s\n' "$help" | options)
from_page=$(sed 's/\\-/-/g' "$page" | options)
echo "--help: $from_help"
echo "manual: $from_page"
[ "$from_help" = "$from_page" ]
