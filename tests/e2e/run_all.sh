#!/usr/bin/env bash
# Runs every end-to-end script against the binary given as $1.
set -u
binary="$1"
here="$(dirname "$0")"
status=0
for script in "$here"/e2e_*.sh; do
    [ -e "$script" ] || continue
    echo "== $(basename "$script")"
    if ! bash "$script" "$binary"; then
        echo "FAILED: $(basename "$script")"
        status=1
    fi
done
exit $status
