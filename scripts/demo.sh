#!/usr/bin/env bash
# The main job, end to end: builds the DLL, lays out a throwaway Wine system with the camera's
# driver package installed (device nodes, INF/PNF files, the install folder) and bystanders
# of each kind beside it, runs a host uninstaller through the whole plan and the restart
# notice, and prints what was removed and what stayed. Exits non-zero when anything of the
# camera's that can go is left, or anything else was touched.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
build=$PWD/build/win32
# shellcheck source=wine_env.sh
source scripts/wine_env.sh

work=$build/demo
screenshot=$work/notice.png
host_pid=
cleanup() {
    [ -z "$host_pid" ] || kill "$host_pid" 2>/dev/null || true
    wine_stop
    xvfb_stop
}
rm -rf "$work"
mkdir -p "$work"
wine_template_ensure "$build/wine/template"
wine_prefix_from_template "$build/wine/template" "$work/prefix"
trap cleanup EXIT
programs="$WINEPREFIX/drive_c/uninstall"
mkdir -p "$programs"
cp "$build/unMW472.dll" "$build/tools/hookhost.exe" "$build/tools64/devnodes.exe" \
    "$build/tools64/debugcapture.exe" "$programs/"
devnodes() { wine_run64 120 'C:\uninstall\devnodes.exe' "$@"; }

echo "planting the camera's package and its bystanders"
devnodes plant 'ROOT\IMAGE\0001' 'USB Video Device' 'USB\VID_0982&PID_6211&MI_00'
devnodes plant 'ROOT\IMAGE\0002' - 'USB\VID_0982&PID_6210'
devnodes plant 'ROOT\IMAGE\0003' '5.0 M Lumacorder' 'USB\VID_1234&PID_0001'
devnodes plant 'ROOT\IMAGE\0004' 'Other camera' 'USB\VID_0982&PID_6212'
devnodes plant 'ROOT\IMAGE\0005' 'Hub' 'USB\VID_2222&PID_0002' 'USB\VID_0982&PID_6211'
devnodes plant 'ROOT\IMAGE\0006' 'Scanner' 'USB\VID_0983&PID_6211'
plant_inf_fixtures tests/e2e/fixtures
plant_install_tree

# Every planted item: kind, name, and what must become of it.
cat >"$work/items.txt" <<'ITEMS'
node|ROOT\IMAGE\0001|removed|camera 6211, first hardware ID
node|ROOT\IMAGE\0002|removed|camera 6210, first hardware ID
node|ROOT\IMAGE\0003|removed|camera, by description only
node|ROOT\IMAGE\0004|kept|bystander: product 6212
node|ROOT\IMAGE\0005|kept|bystander: camera ID only second
node|ROOT\IMAGE\0006|kept|bystander: vendor 0983
file|windows/inf/oem90.inf|removed|camera 6211 INF (decorated model section)
file|windows/inf/oem90.pnf|removed|its companion
file|windows/inf/oem91.inf|kept|camera 6210 INF, read-only: cannot be deleted
file|windows/inf/oem91.pnf|removed|its companion
file|windows/inf/other/cam6211b.inf|removed|camera 6211 INF, hit in its second model section
file|windows/inf/other/cam6210.inf|removed|camera 6210 INF
file|windows/inf/other/cam6210.pnf|removed|its companion
file|windows/inf/oem92.inf|kept|bystander: product 6212
file|windows/inf/oem92.pnf|kept|bystander's companion
file|windows/inf/oem93.inf|kept|bystander: vendor 0983
file|windows/inf/oem94.inf|kept|bystander: camera line commented out
file|windows/inf/oem95.inf|kept|bystander: names a missing section first
file|windows/inf/other/other.inf|kept|bystander in OTHER
file|windows/inf/winebus.inf|kept|Wine's own INF
file|windows/inf/winebus.pnf|kept|Wine's own PNF
file|HB/K582T/readme.txt|removed|install folder file
file|HB/K582T/NoPeriodName|removed|name without a period
file|HB/K582T/hidden.ini|removed|hidden file
file|HB/K582T/system.dat|removed|system file
file|HB/K582T/bin|removed|sub-folder
file|HB/K582T/bin/x86/cam.sys|removed|two levels down
file|HB/K582T/docs/manual/guide.pdf|removed|two levels down
file|HB/K582T/empty|removed|empty sub-folder
file|HB/K582T/shared|kept|folder link, never entered; Windows removes it, Wine 8 refuses (error 145)
file|HB/K582T/locked/free.txt|removed|beside the read-only file
file|HB/K582T/locked/readonly.txt|kept|read-only: cannot be deleted
file|HB/K582T/locked|kept|holds the read-only file
file|HB/K582T|kept|holds the read-only file's branch
file|Shared/data.txt|kept|bystander: the link's target
file|Shared/deep/more.txt|kept|bystander: the link's target
file|HB/K582T2/keep.txt|kept|bystander: sibling folder
file|HB/other/keep.txt|kept|bystander: sibling folder
ITEMS

# present KIND NAME: whether the item is there now.
present() {
    if [ "$1" = node ]; then
        grep -qF -- "$2|" "$work/nodes.txt"
    else
        [ -e "$WINEPREFIX/drive_c/$2" ] || [ -L "$WINEPREFIX/drive_c/$2" ]
    fi
}
snapshot() {
    devnodes list >"$work/nodes.txt"
    while IFS='|' read -r kind name _; do
        if present "$kind" "$name"; then echo present; else echo absent; fi
    done <"$work/items.txt" >"$1"
}
snapshot "$work/before.txt"

echo "running the host uninstaller (the DLL runs in a 32-bit process) with our debugger"
xvfb_start
wine_run64 900 'C:\uninstall\debugcapture.exe' 'C:\uninstall\hookhost.exe' unMW472.dll \
    --call both >"$work/host.out" 2>"$work/host.err" &
host_pid=$!
notice_ok=yes
notice_dismiss "$host_pid" "$work/host.out" "$screenshot" 900 || {
    notice_ok=no
    echo "notice: $NOTICE_PROBLEM"
}
host_status=0
wait "$host_pid" || host_status=$?
host_pid=
snapshot "$work/after.txt"

wrong=0
printf '\n%-34s %-9s %-8s %-8s %-6s %s\n' ITEM EXPECTED BEFORE AFTER CHECK WHAT
paste -d'|' "$work/items.txt" "$work/before.txt" "$work/after.txt" |
    while IFS='|' read -r kind name expected what before after; do
        outcome=kept
        [ "$after" = absent ] && outcome=removed
        check=ok
        if [ "$before" != present ] || [ "$outcome" != "$expected" ]; then
            check=WRONG
        fi
        printf '%-34s %-9s %-8s %-8s %-6s %s\n' "$name" "$expected" "$before" "$after" "$check" "$what"
    done | tee "$work/table.txt"
wrong=$(grep -c ' WRONG ' "$work/table.txt" || true)

echo
echo "debugger trace and host output (exit $host_status):"
cat "$work/host.out"
echo
echo "notice screenshot: $screenshot"
expected_host=$(grep -cE '^Uninst(Un)?Initialize returned 0$' "$work/host.out" || true)
if [ "$wrong" -ne 0 ] || [ "$host_status" -ne 0 ] || [ "$notice_ok" != yes ] || [ "$expected_host" -ne 2 ]; then
    echo "demo FAILED: $wrong item(s) wrong, host exit $host_status, notice $notice_ok"
    exit 1
fi
echo "demo passed: every camera item that can go was removed, every bystander kept"
