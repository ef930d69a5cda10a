#!/usr/bin/env bash
# Hostile input: a UTF-16 INF with a byte-order mark, a binary file named *.inf, an INF whose
# "Manufacturer" section is larger than the 1024 bytes read of it, a folder named x.inf, a
# file name of 255 characters in the install folder, and a tree deeper than the path limit
# allows. The hook must return 0 and delete nothing that is not the camera's.
#   hostile.sh <wine_env.sh> <template> <work> <dll> <hookhost.exe>
set -euo pipefail
export LC_ALL=C

wine_env=$1 template=$2 work=$3 dll=$4 hookhost=$5
# shellcheck source=../../scripts/wine_env.sh
source "$wine_env"

e2e_setup "$work" "$template" "$dll" "$hookhost"
c="$WINEPREFIX/drive_c"
inf="$c/windows/inf"

# A bystander (product 6212) in UTF-16 with its byte-order mark.
printf '[Manufacturer]\r\n%%Mfg%%=Models\r\n[Models]\r\n%%Dev%%=Install,USB\\VID_0982&PID_6212\r\n' |
    iconv -f ASCII -t UTF-16 >"$inf/utf16.inf"
head -c 1500 /dev/zero >"$inf/binary.inf"
head -c 6000 "$dll" >>"$inf/binary.inf"
# The camera's entry stands after more than 1024 bytes of "Manufacturer" entries: only what
# the buffer holds is examined, so the file stays.
{
    printf '[Manufacturer]\r\n'
    for i in $(seq 1 60); do printf 'Filler%02d=Section%02d\r\n' "$i" "$i"; done
    printf '%%Mfg%%=Models\r\n[Models]\r\n%%Cam%%=Install,USB\\VID_0982&PID_6211\r\n'
} >"$inf/large.inf"
mkdir -p "$inf/x.inf"
printf '[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6211\r\n' >"$inf/x.inf/inside.inf"

top="$c/HB/K582T"
long_name=$(printf 'n%.0s' $(seq 1 251)).txt
mkdir -p "$top"
echo long >"$top/$long_name"
echo plain >"$top/plain.txt"
# 24 levels of ten-character folders: the real paths of their files pass MAX_PATH at level
# 22, the paths the hook forms (a period for each level) after level 19.
deep="$top/deep"
mkdir -p "$deep"
path=$deep
for level in $(seq 1 24); do
    path="$path/level$(printf '%05d' "$level")"
    mkdir -p "$path"
    echo "$level" >"$path/f.txt"
done
mkdir -p "$c/Shared" && echo keep >"$c/Shared/keep.txt"

files_below "$c/windows" >"$work/windows_before.txt"
status=0
wine_run 900 'C:\e2e\hookhost.exe' unMW472.dll --call init >"$work/host.out" || status=$?
cat "$work/host.out"
[ "$status" -eq 0 ] || fail "the host exited with $status"
grep -qx 'UninstInitialize returned 0' "$work/host.out" || fail "UninstInitialize did not return 0"

files_below "$c/windows" | diff -u "$work/windows_before.txt" - || fail "files in the Windows folder changed"
[ -e "$top/$long_name" ] || fail "the 255-character name went, though its path does not fit"
[ ! -e "$top/plain.txt" ] || fail "the plain file is still there"
[ ! -e "$deep/level00001/f.txt" ] || fail "the shallow file of the deep tree is still there"
[ -e "$path/f.txt" ] || fail "the deepest file went, though no path to it fits"
[ -e "$c/Shared/keep.txt" ] || fail "a file outside the install folder went"
deleted=$(seq 1 24 | while read -r level; do
    p=$deep
    for l in $(seq 1 "$level"); do p="$p/level$(printf '%05d' "$l")"; done
    [ -e "$p/f.txt" ] || echo "$level"
done | tr '\n' ' ')
echo "deep tree: files deleted at levels $deleted"
e2e_finish
