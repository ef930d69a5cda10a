#!/usr/bin/env bash
# Each nesting level of the folder removal is one DeleteFolderTree frame in the DLL (the entry
# handler is inlined into it): an entry record and two paths. Its size, as the compiler
# reports it, must stay small, so that the deepest tree the path limit allows (about 85
# levels) takes under 100 KB of the host thread's stack.
#   stack_usage.sh <delete_tree .su file> <largest frame allowed>
set -euo pipefail
su_file=$1 limit=$2
line=$(grep -E ' DeleteFolderTree\(const char\*\)' "$su_file")
bytes=$(awk -F'\t' '{print $2}' <<<"$line")
qualifier=$(awk -F'\t' '{print $3}' <<<"$line")
echo "DeleteFolderTree: $bytes bytes per nesting level ($qualifier)"
[ "$qualifier" = static ] || { echo "FAIL: the frame size is not static"; exit 1; }
[ "$bytes" -le "$limit" ] || { echo "FAIL: more than $limit bytes"; exit 1; }
