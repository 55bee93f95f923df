#!/usr/bin/env bash
# Runs a Windows program under Wine in the Windows build's own prefix
# (build-windows/wine-prefix unless WINEPREFIX says otherwise), without
# Wine's debug chatter, so that tests see only the program's own output.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build-windows/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine turns the Unix arguments into the program's wide command line in the
# locale's encoding; under the C locale a name like 张三 arrives broken.
export LC_ALL=C.UTF-8
# Wine hides the Unix QT_ variables from Windows programs, lest the host's
# Qt settings steer a Windows Qt, but passes each WINEQT_ one as its QT_
# one; the variables given here (the tests' QT_QPA_PLATFORM) are for the
# Windows program.
while IFS= read -r name; do
  export "WINE$name=${!name}"
done < <(compgen -e | grep '^QT_' || true)
# Debian's wine64 package keeps its programs outside PATH; the wine package
# adds a wine64 command.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# Wine's server and its services outlive the program; CTest would wait for
# them, as they hold its output pipes. So the first program of a while
# starts them apart from its output, under a lock, and they stay a minute
# after the last program ends. The server cannot start before the prefix
# exists, so the first program builds the prefix under the lock too and
# waits for that server to end: left to the programs themselves, two
# building one prefix at once fail now and then.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
    "$wineserver" -w 9>&- || true
  fi
  if "$wineserver" -p60 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
