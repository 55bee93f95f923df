#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need;
# with the argument "windows", those of the Windows build and its tests
# instead (the MinGW-w64 cross compiler, Wine, GoogleTest's sources); with
# "windows-gui", also what building Qt for Windows and packaging the desktop
# program need (the host's Qt tools, Wine's tablet headers, NSIS, a CJK font
# and a virtual display for Wine), and a deb-src entry for Debian's sources.
# Only missing packages are installed, and the package lists are refreshed
# at most once, so a second run does nothing.
set -euo pipefail

windows_packages=(
  cmake ninja-build g++-mingw-w64-x86-64 wine64 googletest nlohmann-json3-dev python3
)

windows_gui_packages=(
  "${windows_packages[@]}" dpkg-dev qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  libqcustomplot-dev libwine-dev nsis fonts-wqy-zenhei xvfb xauth x11-utils
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
  windows-gui) packages=("${windows_gui_packages[@]}") ;;
  *) echo "usage: $0 [windows|windows-gui]" >&2; exit 2 ;;
esac

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

# apt-get source needs the archive's source index beside its binary one.
if [ "${1:-}" = windows-gui ] && ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/ \
   && [ -f /etc/apt/sources.list.d/debian.sources ]; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    | $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  $sudo apt-get update -q
  updated=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
[ -n "${updated:-}" ] || $sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
