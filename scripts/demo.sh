#!/usr/bin/env bash
# The updater's main job on the built-in sample installation, under Wine:
# a private prefix, the product recorded in the registry the way its installer
# does it, the oldest known "DerodUz.exe" in place; then the unattended updater.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
patchtool=$top/build/native/bin/patchtool
updater=$top/build/windows/bin/updater-console.exe
demo=$top/build/demo
export WINEPREFIX=$demo/wineprefix WINEDEBUG=-all

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the demo's Wine prefix (once) ..."
  mkdir -p "$demo"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

# A fresh sample installation every time.
install_win='C:\Varsko\RavOveze2'
install_dir=$WINEPREFIX/drive_c/Varsko/RavOveze2
rm -rf "$install_dir" "$demo/sample"
mkdir -p "$install_dir" "$demo/sample"
"$patchtool" sample "$demo/sample" >/dev/null
cp "$demo/sample/DerodUz-slot1.exe" "$install_dir/DerodUz.exe"
"$patchtool" reg --app-id 4 "$install_win" --hive HKCU -o "$demo/install.reg"
wine reg import "$demo/install.reg" >/dev/null 2>&1

describe() {
  local verdict size crc
  verdict=$("$patchtool" identify 33 "$install_dir/DerodUz.exe")
  size=$(stat -c %s "$install_dir/DerodUz.exe")
  crc=$("$patchtool" crc "$install_dir/DerodUz.exe" | cut -d' ' -f1)
  echo "$size bytes, CRC-32 $crc, identified as: $verdict"
}

echo "Installation: $install_win (recorded for AppId 4 in the current user's registry)"
echo "Before: DerodUz.exe $(describe)"
echo
echo "Running updater-console.exe:"
set +e
wine "$updater" > "$demo/console.out" 2> "$demo/console.err"
status=$?
set -e
sed 's/\r$//' "$demo/console.out" | sed 's/^/  | /'
[ -s "$demo/console.err" ] && sed 's/\r$//' "$demo/console.err" | sed 's/^/  ! /'
echo
echo "After:  DerodUz.exe $(describe)"
echo "Exit status $status; the verdict is the last line above."
wineserver -k 2>/dev/null || true
