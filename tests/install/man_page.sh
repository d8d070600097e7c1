#!/usr/bin/env bash
# The man page formats without a single warning from man or groff, as Debian's checks run it.
set -u
out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)
code=$?
[ "$code" -eq 0 ] || { echo "man exited with $code"; exit 1; }
[ -z "$out" ] || { echo "$out"; exit 1; }
echo "ok"
