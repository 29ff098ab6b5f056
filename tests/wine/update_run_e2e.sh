#!/usr/bin/env bash
# End to end under Wine: updater-console.exe of the default build against a
# sample installation recorded in the registry the way the product's installer
# records it (patchtool reg), holding the oldest known DerodUz.exe.
#   update_run_e2e.sh PATCHTOOL UPDATER WORKDIR   (WINEPREFIX set by the caller)
set -euo pipefail
patchtool=$1 updater=$2 work=$3
export WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8

install_win='C:\UpdE2E\RavOveze2'
install_dir=$WINEPREFIX/drive_c/UpdE2E/RavOveze2
target=$install_dir/DerodUz.exe
rm -rf "$work" "$install_dir"
mkdir -p "$work" "$install_dir"
cleanup() {
  wine reg delete 'HKCU\SOFTWARE\Varsko\RavOveze2' /f >/dev/null 2>&1 || true
  rm -rf "$install_dir"
}
trap cleanup EXIT

"$patchtool" sample "$work/sample" >/dev/null
"$patchtool" reg --app-id 4 "$install_win" --hive HKCU -o "$work/install.reg"
wine reg import "$work/install.reg" >/dev/null 2>&1

source "$(dirname "$0")/e2e_lib.sh"

echo "Oldest version in place: expect the update (272)"
cp "$work/sample/DerodUz-slot1.exe" "$target"
run_updater 0 272
[ "$(crc_of "$target")" = 65E3C03E ] || fail "DerodUz.exe not at the new version: $(crc_of "$target")"
[ "$(ls "$install_dir")" = DerodUz.exe ] || fail "files left in the installation: $(ls "$install_dir")"

echo "Second run: nothing to do (274)"
run_updater 0 274

echo "Unknown version: errors (273), file untouched"
cp "$work/sample/DerodUz-slot4.exe" "$target"
printf 'X' | dd of="$target" bs=1 seek=4096 conv=notrunc status=none
cp "$target" "$work/unknown.exe"
run_updater 1 273
cmp -s "$target" "$work/unknown.exe" || fail "a file of unknown version was changed"
grep -q 'DerodUz.exe' "$work/err" || fail "no dialog text naming the file on standard error"

echo "Missing installation: errors (273)"
wine reg delete 'HKCU\SOFTWARE\Varsko\RavOveze2' /f >/dev/null 2>&1
run_updater 1 273

finish
