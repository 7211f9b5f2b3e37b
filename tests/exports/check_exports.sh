#!/bin/sh
# check_exports.sh MODULE SYMBOL...
# Fails unless the dynamic symbol table of MODULE defines every SYMBOL under
# exactly that name (C linkage: what a C caller or dlsym looks up).
set -eu
module=$1
shift
defined=$(nm -D --defined-only "$module" | awk '{print $NF}')
missing=""
for symbol in "$@"; do
    printf '%s\n' "$defined" | grep -qx -- "$symbol" || missing="$missing $symbol"
done
if [ -n "$missing" ]; then
    echo "check_exports: $module does not export:$missing"
    exit 1
fi
echo "check_exports: $module exports $*"
