#!/usr/bin/env bash
# Checks the Windows package under Wine, as make windows-test's last step:
#   1. tovarin.exe, started from the unpacked zip on a virtual display
#      (Xvfb, Wine's own window system), shows its main window with the
#      bundled document's name in the caption, and closes when asked;
#   2. the setup program, run silently (setup.exe /S), puts the files, the
#      Start-menu entry and the .lvrn association where it says, and the
#      installed tovarin-cli.exe runs; its uninstaller, run silently, takes
#      them away again.
# With TOVARIN_SHOT=FILE.png, the screen with the main window is saved
# there (ImageMagick's import) before the window is closed; with
# TOVARIN_STATS_SHOT=FILE.png too, the statistics window (Ctrl+T) is
# opened and saved there.
#
#   scripts/windows-check.sh BUILD VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
root=$(cd "$(dirname "$0")/.." && pwd)
run="$root/scripts/wine-run.sh"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX=${WINEPREFIX:-$build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=C.UTF-8
name=tovarin-$version-windows-x64
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "windows-check: $*" >&2
  exit 1
}

# A CJK font for the Chinese texts, as every Chinese Windows has one.
"$run" cmd /c exit 0
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -u /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc "$fonts/"

echo "windows-check: tovarin.exe from $name.zip"
cmake -E chdir "$work" cmake -E tar xf "$build/$name.zip"
[ -f "$work/$name/tovarin.exe" ] || fail "$name.zip has no $name/tovarin.exe"
cat >"$work/on-display.sh" <<'EOF'
#!/usr/bin/env bash
# Runs on the virtual display: starts the program, waits for its main
# window, saves the picture, asks the window to close.
set -euo pipefail
program=$1 run=$2 expected=$3 keys=$4
(cd "$(dirname "$program")" && exec "$run" "$program") &
pid=$!

# Waits up to a number of seconds for a window whose caption holds a text;
# sets window and caption.
wait_for_window() {
  local seconds=$1 text=$2 id title
  for _ in $(seq 1 "$seconds"); do
    for id in $(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
      title=$(xprop -id "$id" _NET_WM_NAME 2>/dev/null |
        sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
      case "$title" in *"$text"*) window=$id caption=$title; return 0 ;; esac
    done
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 1
  done
  return 1
}

if ! wait_for_window 120 "$expected"; then
  echo "no window with \"$expected\" in its caption appeared" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
echo "main window: $caption"
if [ -n "${TOVARIN_SHOT:-}" ]; then
  sleep 3
  import -window root "$TOVARIN_SHOT"
fi
if [ -n "${TOVARIN_STATS_SHOT:-}" ]; then
  python3 "$keys" --focus "$window" ctrl+t
  if wait_for_window 60 "号码统计"; then
    sleep 3
    import -window root "$TOVARIN_STATS_SHOT"
  else
    echo "the statistics window did not open" >&2
  fi
fi
"$run" taskkill /im tovarin.exe >/dev/null
for _ in $(seq 1 30); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 1
done
echo "tovarin.exe did not close when asked" >&2
"$run" taskkill /f /im tovarin.exe >/dev/null 2>&1 || true
exit 1
EOF
# The display's programs start with a fresh Wine server, on this display.
"$wineserver" -k 2>/dev/null || true
xvfb-run -a -s "-screen 0 1280x800x24" \
  bash "$work/on-display.sh" "$work/$name/tovarin.exe" "$run" " - 工作文档.lvrn - " \
  "$root/scripts/x-keys.py" ||
  fail "tovarin.exe from the zip did not show the bundled document"

echo "windows-check: tovarin-$version-setup.exe /S"
"$run" "$build/tovarin-$version-setup.exe" /S
installed="$WINEPREFIX/drive_c/Program Files/Tovarin"
for file in bin/tovarin.exe bin/tovarin-cli.exe bin/Qt6Core.dll bin/qt.conf \
  bin/plugins/platforms/qwindows.dll bin/translations/qtbase_zh_CN.qm \
  share/tovarin/readme.txt share/tovarin/工作文档.lvrn uninstall.exe; do
  [ -f "$installed/$file" ] || fail "the setup did not install $file"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tovarin.lnk"
[ -f "$menu" ] || fail "the setup made no Start-menu entry"
"$run" reg query 'HKCR\.lvrn' | grep -q 'Tovarin.Document' ||
  fail ".lvrn is not associated with the program"
"$run" reg query 'HKCR\Tovarin.Document\shell\open\command' |
  grep -qF '"C:\Program Files\Tovarin\bin\tovarin.exe" "%1"' ||
  fail ".lvrn files are not opened by the installed program"
"$run" "C:\\Program Files\\Tovarin\\bin\\tovarin-cli.exe" --version | grep -q "$version" ||
  fail "the installed tovarin-cli.exe does not run"

# The uninstaller runs on from a copy of itself and returns at once.
"$run" "C:\\Program Files\\Tovarin\\uninstall.exe" /S
for _ in $(seq 1 60); do
  [ -e "$installed" ] || break
  sleep 1
done
[ ! -e "$installed" ] || fail "the uninstaller left the program's files"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entry"
if "$run" reg query 'HKCR\Tovarin.Document' >/dev/null 2>&1; then
  fail "the uninstaller left the .lvrn association"
fi
echo "windows-check: the package starts, installs and uninstalls under Wine"
