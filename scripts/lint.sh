#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the .cpp files of the core and
# of tovarin-cli, using the compile commands of the build folder given as
# the first argument. Exits non-zero on any finding. The compile commands are
# GCC's; options clang does not know (-Wno-restrict) are let through.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$build/compile_commands.json" ]; then
  echo "No $build/compile_commands.json; configure the build folder first." >&2
  exit 2
fi
mapfile -t files < <(python3 - "$build/compile_commands.json" "$root" <<'PY'
import json, os, sys
commands, root = sys.argv[1], sys.argv[2]
folders = ("base", "engine", "draws", "dialogs", "mainwin", "cli")
seen = set()
for entry in json.load(open(commands)):
    output = entry.get("output") or entry.get("command", "")
    # Only the core library and the command-line program: the widget
    # sources of the same folders need Qt's generated files.
    if "tovarin_core.dir" not in output and "tovarin-cli.dir" not in output:
        continue
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, root)
    parts = rel.split(os.sep)
    if len(parts) >= 3 and parts[0] == "src" and parts[1] in folders and rel.endswith(".cpp"):
        if rel not in seen:
            seen.add(rel)
            print(path)
PY
)
if [ ${#files[@]} -eq 0 ]; then
  echo "No core or cli sources found in $build/compile_commands.json." >&2
  exit 2
fi
jobs=$(nproc 2>/dev/null || echo 2)
printf '%s\0' "${files[@]}" |
  xargs -0 -n 4 -P "$jobs" clang-tidy -p "$build" --quiet \
    --extra-arg=-Wno-unknown-warning-option
echo "clang-tidy: ${#files[@]} files clean."
