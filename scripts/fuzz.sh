#!/usr/bin/env bash
# Runs each fuzzer (document, settings file, download answer) for the given
# number of seconds (default 60) over a copy of its seed corpus.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A seeds=(
  [document]="$here/fuzz/corpus"
  [settings]="$here/fuzz/corpus-settings"
  [download]="$here/fuzz/corpus-download"
)
for name in document settings download; do
  mkdir -p "$work/$name"
  find "${seeds[$name]}" -maxdepth 1 -type f -exec cp {} "$work/$name/" \;
  "$build/bin/${name}_fuzz" -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="$build/$name-" "$work/$name"
done
