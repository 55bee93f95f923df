#!/usr/bin/env bash
# The whole tree's checks, each over every file it applies to; exits non-zero
# on any finding:
#   - the layer check (scripts/check-layers.py);
#   - clang-format --dry-run --Werror over every C++ source under src, tests,
#     bench and fuzz;
#   - clang-tidy (checks in .clang-tidy) over every .cpp file under src, core,
#     GUI and programs, with the compile commands of the build folder given as
#     the first argument. The GUI sources include the files Qt generates (moc
#     output, resources), so the generated-file targets are built first.
# The compile commands are GCC's; options clang does not know (-Wno-restrict)
# are let through.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$build/compile_commands.json" ]; then
  echo "No $build/compile_commands.json; configure the build folder first." >&2
  exit 2
fi
jobs=$(nproc 2>/dev/null || echo 2)

python3 "$root/scripts/check-layers.py" "$root"

mapfile -t sources < <(cd "$root" && find src tests bench fuzz -type f \
  \( -name '*.cpp' -o -name '*.h' \) | sort)
(cd "$root" && printf '%s\0' "${sources[@]}" |
  xargs -0 clang-format --dry-run --Werror)
echo "clang-format: ${#sources[@]} files clean."

# The generated files the GUI sources include (the <target>_autogen targets).
mapfile -t autogen < <(cmake --build "$build" --target help |
  sed -n 's/^\([A-Za-z0-9_.-]*_autogen\):.*/\1/p' | sort -u)
if [ ${#autogen[@]} -gt 0 ]; then
  cmake --build "$build" -j "$jobs" --target "${autogen[@]}" >/dev/null
fi

mapfile -t files < <(python3 - "$build/compile_commands.json" "$root" <<'PY'
import json, os, sys
commands, root = sys.argv[1], sys.argv[2]
src = os.path.join(root, "src") + os.sep
seen = set()
for entry in json.load(open(commands)):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    if path.startswith(src) and path.endswith(".cpp") and path not in seen:
        seen.add(path)
        print(path)
PY
)
if [ ${#files[@]} -eq 0 ]; then
  echo "No sources of src found in $build/compile_commands.json." >&2
  exit 2
fi
printf '%s\0' "${files[@]}" |
  xargs -0 -n 4 -P "$jobs" clang-tidy -p "$build" --quiet \
    --extra-arg=-Wno-unknown-warning-option
echo "clang-tidy: ${#files[@]} files clean."
