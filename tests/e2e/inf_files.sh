#!/usr/bin/env bash
# The hook deletes exactly the camera's INF files with their PNF companions, from the INF
# folder and then INF\OTHER, and traces each deletion on the debugger output. Our debugger
# captures the trace, which is compared in order; every other file, Wine's own INF files
# included, must survive.
#   inf_files.sh <wine_env.sh> <template> <work> <fixtures> <dll> <hookhost.exe> <debugcapture.exe>
set -euo pipefail
export LC_ALL=C

wine_env=$1 template=$2 work=$3 fixtures=$4 dll=$5 hookhost=$6 debugcapture=$7
# shellcheck source=../../scripts/wine_env.sh
source "$wine_env"

e2e_setup "$work" "$template" "$dll" "$hookhost" "$debugcapture"

plant_inf_fixtures "$fixtures"
inf="$WINEPREFIX/drive_c/windows/inf"
files_below "$inf" >"$work/before.txt"
wine_inf_files=$(grep -cv -e '/oem9' -e '/other' "$work/before.txt" || true)
echo "Wine's own entries in the INF folder: $wine_inf_files"
[ "$wine_inf_files" -gt 0 ] || fail "the prefix has no INF files of its own"

status=0
wine_run64 900 'C:\e2e\debugcapture.exe' 'C:\e2e\hookhost.exe' unMW472.dll --call init \
    >"$work/capture.out" 2>"$work/capture.err" || status=$?
echo "--- captured (exit $status)"
cat "$work/capture.out"
[ "$status" -eq 0 ] || fail "debugcapture exited with $status"

# Each product in turn, the INF folder before OTHER; a refused deletion is followed by the
# system's text. Wine writes ERROR_ACCESS_DENIED as "Access denied.".
cat >"$work/expected_trace.txt" <<'TRACE'
ODS: C:\\windows\\INF\\oem90.inf
ODS: c:\\windows\\inf\\oem90.pnf
ODS: C:\\windows\\INF\\OTHER\\cam6211b.inf
ODS: c:\\windows\\inf\\other\\cam6211b.pnf
ODS: C:\\windows\\INF\\oem91.inf
ODS: Access denied.\r\n
ODS: c:\\windows\\inf\\oem91.pnf
ODS: C:\\windows\\INF\\OTHER\\cam6210.inf
ODS: c:\\windows\\inf\\other\\cam6210.pnf
UninstInitialize returned 0
EXIT: 0
TRACE
diff -u "$work/expected_trace.txt" "$work/capture.out" || fail "the trace differs"

files_below "$inf" >"$work/after.txt"
printf '%s\n' ./oem90.inf ./oem90.pnf ./oem91.pnf ./other/cam6210.inf ./other/cam6210.pnf \
    ./other/cam6211b.inf >"$work/expected_removed.txt"
comm -23 "$work/before.txt" "$work/after.txt" >"$work/removed.txt"
echo "--- removed"
cat "$work/removed.txt"
diff -u "$work/expected_removed.txt" "$work/removed.txt" || fail "not exactly the camera's files went"
comm -13 "$work/before.txt" "$work/after.txt" | grep . && fail "files appeared"
e2e_finish
