#!/usr/bin/env bash
# Runs the document fuzzer for the given number of seconds (default 60)
# over a copy of the seed corpus.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/fuzz/corpus/* "$work"/ 2>/dev/null || true
"$build/bin/document_fuzz" -max_total_time="$seconds" -max_len=4096 \
  -artifact_prefix="$build/" "$work"
