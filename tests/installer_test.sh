#!/usr/bin/env bash
# The installer's round trip under Wine: a silent install into a folder of the test prefix,
# the program started from there, then a silent uninstall that leaves nothing behind and keeps
# the user's setting.
#   tests/installer_test.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
tools=$here/../tools
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
"$tools/wine-prefix"

fail() { echo "installer test: $*" >&2; exit 1; }
wine_() { "$tools/wine-run" "$@"; }

setup=$("$tools/dist" "$build" | tail -n 1)
target='C:\QuillfoxTest\Quillfox' # /D= takes no quotes, so no blanks
unix_target=$WINEPREFIX/drive_c/QuillfoxTest/Quillfox
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Quillfox
settings='HKCU\Software\Quillworks\Quillfox\Options'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillfox'
rm -rf "$WINEPREFIX/drive_c/QuillfoxTest"

wine_ reg add "$settings" /v RenameFormat /t REG_SZ /d "[artist] - [title].mp3" /f >/dev/null 2>&1
wine_ "$setup" /S "/D=$target"
for file in Quillfox.exe QuillfoxHlp.chm README.md LICENSE Uninstall.exe; do
  [ -f "$unix_target/$file" ] || fail "$file was not installed"
done
[ -f "$menu/Quillfox.lnk" ] || fail "no Start-menu shortcut"
wine_ reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller entry"

# The installed program starts and shows its window; it is then asked to close.
wine_ "$target\\Quillfox.exe" &
program=$!
shown=
for _ in $(seq 1 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Quillfox": ('; then shown=1; break; fi
  sleep 0.5
done
[ -n "$shown" ] || { kill "$program" 2>/dev/null; fail "the installed program showed no window"; }
wine_ taskkill /IM Quillfox.exe >/dev/null 2>&1 || true
for _ in $(seq 1 40); do kill -0 "$program" 2>/dev/null || break; sleep 0.5; done
kill -0 "$program" 2>/dev/null && { kill "$program"; fail "the program did not close when asked"; }

# The uninstaller copies itself away and removes the folder; wait for it.
wine_ "$target\\Uninstall.exe" /S
for _ in $(seq 1 60); do [ -e "$unix_target" ] || break; sleep 0.5; done
[ -e "$unix_target" ] && fail "the uninstaller left: $(ls -A "$unix_target")"
[ -e "$menu" ] && fail "the uninstaller left the Start-menu folder"
wine_ reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstaller entry is still there"
wine_ reg query "$settings" /v RenameFormat 2>/dev/null | grep -q '\[artist\] - \[title\].mp3' ||
  fail "the user's setting went with the program"
wine_ reg delete 'HKCU\Software\Quillworks' /f >/dev/null 2>&1 || true
rmdir "$WINEPREFIX/drive_c/QuillfoxTest" 2>/dev/null || true
echo "installer test: install, start and uninstall passed"
