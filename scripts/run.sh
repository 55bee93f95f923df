#!/usr/bin/env bash
# Starts the program from the build folder given as the first argument.
set -euo pipefail
build=${1:-build}
if [ -x "$build/bin/tovarin" ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Start the program under a virtual display with:"
    echo "  xvfb-run -a $build/bin/tovarin"
    exit 0
  fi
  exec "$build/bin/tovarin"
fi
echo "This build has no desktop program (TOVARIN_GUI=OFF); here is the engine at work:"
echo "  tovarin-cli eval 9 12与34相配,5与67相配"
"$build/bin/tovarin-cli" eval 9 "12与34相配,5与67相配"
