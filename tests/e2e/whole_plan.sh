#!/usr/bin/env bash
# The whole plan on a machine with the camera's package installed: device nodes, INF/PNF
# files and the install folder. Afterwards only the read-only file's branch of the install
# folder is left, and the folder link: the hook never enters it and asks RemoveDirectoryA to
# remove it, which Windows does, but Wine 8 answers a directory symlink with
# ERROR_DIR_NOT_EMPTY, as for its target. What the link leads to, the sibling folders, the
# bystander nodes and the bystander files are untouched.
#   whole_plan.sh <wine_env.sh> <template> <work> <fixtures> <dll> <devnodes.exe> <hookhost.exe>
set -euo pipefail
export LC_ALL=C

wine_env=$1 template=$2 work=$3 fixtures=$4 dll=$5 devnodes=$6 hookhost=$7
# shellcheck source=../../scripts/wine_env.sh
source "$wine_env"

e2e_setup "$work" "$template" "$dll" "$devnodes" "$hookhost"
c="$WINEPREFIX/drive_c"

wine_run64 120 'C:\e2e\devnodes.exe' plant 'ROOT\IMAGE\0001' 'Camera' 'USB\VID_0982&PID_6211&MI_00'
wine_run64 120 'C:\e2e\devnodes.exe' plant 'ROOT\IMAGE\0002' - 'USB\VID_0982&PID_6210'
wine_run64 120 'C:\e2e\devnodes.exe' plant 'ROOT\IMAGE\0003' '5.0 M Lumacorder' 'USB\VID_1234&PID_0001'
wine_run64 120 'C:\e2e\devnodes.exe' plant 'ROOT\IMAGE\0004' 'Other camera' 'USB\VID_0982&PID_6212'
plant_inf_fixtures "$fixtures"
plant_install_tree
attributes=$(wine_run64 120 attrib 'C:\HB\K582T\*')
echo "--- install folder attributes"
echo "$attributes"
grep -F 'hidden.ini' <<<"$attributes" | grep -q '^[A-Z ]*H' || fail "hidden.ini is not hidden"
grep -F 'system.dat' <<<"$attributes" | grep -q '^[A-Z ]*S' || fail "system.dat is not a system file"

wine_run64 120 'C:\e2e\devnodes.exe' list | sort >"$work/nodes_before.txt"
files_below "$c/windows" >"$work/windows_before.txt"
files_below "$c/Shared" >"$work/shared_before.txt"

status=0
wine_run 900 'C:\e2e\hookhost.exe' unMW472.dll --call init >"$work/host.out" || status=$?
cat "$work/host.out"
[ "$status" -eq 0 ] || fail "the host exited with $status"
grep -qx 'UninstInitialize returned 0' "$work/host.out" || fail "UninstInitialize did not return 0"

wine_run64 120 'C:\e2e\devnodes.exe' list | sort >"$work/nodes_after.txt"
echo "--- nodes removed"
comm -23 "$work/nodes_before.txt" "$work/nodes_after.txt" | tee "$work/nodes_removed.txt"
[ "$(grep -c '^ROOT\\IMAGE\\000[123]|' "$work/nodes_removed.txt")" -eq 3 ] || fail "camera nodes left"
[ "$(wc -l <"$work/nodes_removed.txt")" -eq 3 ] || fail "other nodes removed"

echo "--- left of the install folder"
files_below "$c/HB" | tee "$work/hb_after.txt"
printf '%s\n' ./K582T ./K582T/locked ./K582T/locked/readonly.txt ./K582T/shared ./K582T2 \
    ./K582T2/keep.txt ./other ./other/keep.txt >"$work/hb_expected.txt"
diff -u "$work/hb_expected.txt" "$work/hb_after.txt" || fail "the install folder is not as expected"
files_below "$c/Shared" | diff -u "$work/shared_before.txt" - || fail "the link's target changed"
[ "$(cat "$c/Shared/data.txt")" = shared ] || fail "the link's target's file changed"

files_below "$c/windows" >"$work/windows_after.txt"
comm -23 "$work/windows_before.txt" "$work/windows_after.txt" >"$work/windows_removed.txt"
printf '%s\n' ./inf/oem90.inf ./inf/oem90.pnf ./inf/oem91.pnf ./inf/other/cam6210.inf \
    ./inf/other/cam6210.pnf ./inf/other/cam6211b.inf >"$work/windows_expected.txt"
diff -u "$work/windows_expected.txt" "$work/windows_removed.txt" || fail "not exactly the camera's INF files went"
e2e_finish
