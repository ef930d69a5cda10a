#!/usr/bin/env bash
# 50 rounds of both entries in one host process, with the camera's package planted: every
# call returns 0, and the process holds as many handles after the last round as after the
# first. No display, so that each notice returns at once.
#   repeated_calls.sh <wine_env.sh> <template> <work> <fixtures> <dll> <devnodes.exe> <hookhost.exe>
set -euo pipefail
export LC_ALL=C

wine_env=$1 template=$2 work=$3 fixtures=$4 dll=$5 devnodes=$6 hookhost=$7
# shellcheck source=../../scripts/wine_env.sh
source "$wine_env"

e2e_setup "$work" "$template" "$dll" "$devnodes" "$hookhost"
wine_run64 120 'C:\e2e\devnodes.exe' plant 'ROOT\IMAGE\0001' 'Camera' 'USB\VID_0982&PID_6211'
plant_inf_fixtures "$fixtures"
plant_install_tree

status=0
wine_run 1200 'C:\e2e\hookhost.exe' unMW472.dll --call both --repeat 50 >"$work/host.out" || status=$?
[ "$status" -eq 0 ] || fail "the host exited with $status"
[ "$(grep -cx 'UninstInitialize returned 0' "$work/host.out")" -eq 50 ] || fail "not 50 zeros from UninstInitialize"
[ "$(grep -cx 'UninstUnInitialize returned 0' "$work/host.out")" -eq 50 ] || fail "not 50 zeros from UninstUnInitialize"
grep '^handles' "$work/host.out"
first=$(sed -n 's/^handles after round 1: //p' "$work/host.out")
last=$(sed -n 's/^handles after round 50: //p' "$work/host.out")
[ -n "$first" ] && [ "$first" -gt 0 ] || fail "no handle count after the first round"
[ "$first" = "$last" ] || fail "the handle count went from $first to $last"
e2e_finish
