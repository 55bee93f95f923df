#!/usr/bin/env bash
# Runs every benchmark program (bin/*_bench) of the build folder given as
# the first argument; further arguments go to each program.
set -euo pipefail
build=${1:-build-bench}
shift || true
shopt -s nullglob
programs=("$build"/bin/*_bench)
if [ ${#programs[@]} -eq 0 ]; then
  echo "No benchmark programs in $build/bin; configure with -DTOVARIN_BENCH=ON." >&2
  exit 1
fi
for program in "${programs[@]}"; do
  echo "== $(basename "$program")"
  "$program" "$@"
done
