#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need;
# with the argument "windows", those of the Windows build and its tests
# instead (the MinGW-w64 cross compiler, Wine, GoogleTest's sources).
# Only missing packages are installed, and the package lists are refreshed
# at most once, so a second run does nothing.
set -euo pipefail

windows_packages=(
  cmake ninja-build g++-mingw-w64-x86-64 wine64 googletest nlohmann-json3-dev python3
)

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqcustomplot-dev
  libqt6opengl6-dev nlohmann-json3-dev libcurl4-openssl-dev openssl
  libgl-dev fonts-wqy-zenhei libssl-dev
  xvfb xauth imagemagick time
  clang clang-format clang-tidy libclang-rt-14-dev
  python3
)

case "${1:-}" in
  "") ;;
  windows) packages=("${windows_packages[@]}") ;;
  *) echo "usage: $0 [windows]" >&2; exit 2 ;;
esac

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
