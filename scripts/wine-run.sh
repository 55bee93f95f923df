#!/usr/bin/env bash
# Runs a Windows program under Wine in the Windows build's own prefix
# (build-windows/wine-prefix unless WINEPREFIX says otherwise), without
# Wine's debug chatter, so that tests see only the program's own output.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build-windows/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# Debian's wine64 package puts its loader outside PATH; the wine package
# adds a wine64 command.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$@"
