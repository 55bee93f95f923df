#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Only missing packages are installed, and the package lists are refreshed
# at most once, so a second run does nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev qt6-translations-l10n
  libqt6opengl6-dev nlohmann-json3-dev
  libgl-dev fonts-wqy-zenhei
  xvfb xauth imagemagick
  clang clang-format clang-tidy libclang-rt-14-dev
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
