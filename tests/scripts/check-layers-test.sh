#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails on each kind of
# violation, each tried on a copy of the tree's sources and build files.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/scripts/check-layers.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fresh_copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  (cd "$root" && tar cf - src tests/core tests/gui tests/cli tests/support) | (cd "$work/tree" && tar xf -)
}

expect() {  # expect pass|fail NAME EXPECTED-MESSAGE
  local want=$1 name=$2 message=${3:-}
  if python3 "$check" "$work/tree" 2>"$work/err"; then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "FAIL $name: expected $want, got $got"; cat "$work/err"; failures=$((failures + 1))
  elif [ -n "$message" ] && ! grep -qF -- "$message" "$work/err"; then
    echo "FAIL $name: no line with '$message'"; cat "$work/err"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

fresh_copy
expect pass "the tree as it is"

fresh_copy
sed -i '1i #include "gui/mainwin/Main.h"' "$work/tree/tests/core/engine/PrjTest.cpp"
expect fail "a core test including a window header" \
  'tests/core/engine/PrjTest.cpp:1: includes gui/mainwin/Main.h, above its layer'

fresh_copy
sed -i '1i #include "core/engine/Prj.h"' "$work/tree/tests/core/draws/LawNetTest.cpp"
expect fail "a draw-table test including the engine" \
  'tests/core/draws/LawNetTest.cpp:1: includes core/engine/Prj.h, above its layer'

fresh_copy
sed -i '1i #include "core/analyses/Analyses.h"' "$work/tree/src/core/engine/Prj.cpp"
expect fail "the engine including the analyses" \
  'src/core/engine/Prj.cpp:1: includes core/analyses/Analyses.h, above its layer'

fresh_copy
sed -i '1i #include <QString>' "$work/tree/src/core/base/Text.cpp"
expect fail "a core file including Qt" 'src/core/base/Text.cpp:1: includes the Qt header <QString>'

fresh_copy
sed -i '1i #include <unistd.h>' "$work/tree/src/core/engine/Prj.cpp"
expect fail "a core file including a system header" \
  'src/core/engine/Prj.cpp:1: includes the system header <unistd.h> outside a platform unit'

fresh_copy
sed -i '1i #include <unistd.h>' "$work/tree/src/core/base/Text.cpp"
expect fail "a base file that is no platform unit including a system header" \
  'src/core/base/Text.cpp:1: includes the system header <unistd.h> outside a platform unit'

fresh_copy
printf '#include <windows.h>\n#include <sys/stat.h>\n' >"$work/tree/src/core/base/ProbeWindows.cpp"
printf '#include <unistd.h>\n' >"$work/tree/src/core/base/ProbePosix.h"
expect pass "platform units including system headers"

fresh_copy
sed -i '1i #include "gui/draws/CodesDlg.h"' "$work/tree/src/cli/main.cpp"
expect fail "the command line including a window" 'src/cli/main.cpp:1: includes gui/draws/CodesDlg.h'

fresh_copy
sed -i 's/DEPENDS tovarin_base/DEPENDS tovarin_base tovarin_engine/' "$work/tree/src/core/draws/CMakeLists.txt"
expect fail "a declared cycle" 'dependency cycle:'

fresh_copy
sed -i 's/DEPENDS tovarin_base/DEPENDS tovarin_base tovarin_gui_draws/' "$work/tree/src/core/settings/CMakeLists.txt"
expect fail "a core library depending on a window library" \
  'tovarin_settings is a core library and depends on the window library tovarin_gui_draws'

fresh_copy
mkdir -p "$work/tree/src/core/stray" && echo 'int x;' >"$work/tree/src/core/stray/Stray.cpp"
expect fail "a folder without a library" 'src/core/stray/Stray.cpp: folder core/stray declares no library'

if [ "$failures" -ne 0 ]; then echo "$failures case(s) failed"; exit 1; fi
