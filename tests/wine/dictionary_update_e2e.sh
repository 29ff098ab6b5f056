#!/usr/bin/env bash
# End to end under Wine: updater-console.exe of the dictionary-sample build
# against an installation of the English-Polish product (AppId 6) recorded in
# the registry, holding the old sample dictionary engpol2.sg.
#   dictionary_update_e2e.sh PATCHTOOL UPDATER SAMPLE_DICTIONARY_DIR WORKDIR
# SAMPLE_DICTIONARY_DIR holds old/engpol2.sg and new/engpol2.sg as
# `patchtool sample` writes them (WINEPREFIX set by the caller).
set -euo pipefail
patchtool=$1 updater=$2 sample=$3 work=$4
export WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8

install_win='C:\UpdE2E\Dictionary'
install_dir=$WINEPREFIX/drive_c/UpdE2E/Dictionary
target=$install_dir/engpol2.sg
key='HKCU\SOFTWARE\Varsko\ZurIvuro2'
rm -rf "$work" "$install_dir"
mkdir -p "$work" "$install_dir"
cleanup() {
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  rm -rf "$install_dir"
}
trap cleanup EXIT

"$patchtool" reg --app-id 6 "$install_win" --hive HKCU -o "$work/install.reg"
grep -qF "[${key/HKCU/HKEY_CURRENT_USER}]" "$work/install.reg" || { echo "FAIL: the .reg file names another key"; exit 1; }
wine reg import "$work/install.reg" >/dev/null 2>&1

source "$(dirname "$0")/e2e_lib.sh"

echo "Old dictionary in place: expect the update (272)"
cp "$sample/old/engpol2.sg" "$target"
run_updater 0 272
[ "$(stat -c %s "$target")" = 20908583 ] || fail "engpol2.sg is $(stat -c %s "$target") bytes, not the new 20908583"
[ "$(crc_of "$target")" = 301F4AC5 ] || fail "engpol2.sg not at the new version: CRC-32 $(crc_of "$target")"
[ "$(ls "$install_dir")" = engpol2.sg ] || fail "files left in the installation: $(ls "$install_dir")"

echo "Second run: nothing to do (274)"
run_updater 0 274

# A dictionary of neither version is no error of the run: its line says
# "Error", the file is not touched, and the run's verdict stands.
echo "Dictionary of another version: left alone"
cp "$sample/old/engpol2.sg" "$target"
printf 'X' | dd of="$target" bs=1 seek=1000 conv=notrunc status=none
cp "$target" "$work/unknown.sg"
run_updater 0 272
cmp -s "$target" "$work/unknown.sg" || fail "a dictionary of another version was changed"
[ "$(ls "$install_dir")" = engpol2.sg ] || fail "files left in the installation: $(ls "$install_dir")"

finish
