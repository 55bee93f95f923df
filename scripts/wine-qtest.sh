#!/usr/bin/env bash
# Runs a Qt Test program under Wine (scripts/wine-run.sh) and prints its
# log. Under Wine a Qt Test program's log to its standard output reaches
# nobody, so the program writes it to a file, printed here once it ends.
#
#   scripts/wine-qtest.sh PROGRAM.exe [ARGUMENT]...   (exits with its status)
set -euo pipefail
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
status=0
# Wine names the Unix root Z:.
"$(dirname "$0")/wine-run.sh" "$@" -o "Z:${log//\//\\},txt" || status=$?
cat "$log"
exit "$status"
