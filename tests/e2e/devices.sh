#!/usr/bin/env bash
# The hook removes the camera's device nodes, attached or not, and no other: nodes are
# planted in a fresh prefix, the host runs the hook, and the node lists before and after
# are compared. A second run, resolving the entries another way and passing other
# arguments, finds nothing left to remove.
#   devices.sh <wine_env.sh> <template prefix> <work folder> <dll> <devnodes.exe> <hookhost.exe>
set -euo pipefail
# Byte order for sort, comm and diff.
export LC_ALL=C

wine_env=$1 template=$2 work=$3 dll=$4 devnodes=$5 hookhost=$6
# shellcheck source=../../scripts/wine_env.sh
source "$wine_env"

# Seconds for one program run: generous, since each start under qemu is slow.
run_timeout=300

e2e_setup "$work" "$template" "$dll" "$devnodes" "$hookhost"
# One server for all the runs, rather than one started and stopped for each.
timeout -k 10 60 wineserver -p

# plant INSTANCE-ID DESCRIPTION-OR-DASH HWID...
plant() {
    wine_run64 "$run_timeout" 'C:\e2e\devnodes.exe' plant "$@" || {
        echo "planting $1 failed" >&2
        exit 1
    }
}

# list_nodes FILE: the sorted node list, one node a line.
list_nodes() {
    wine_run64 "$run_timeout" 'C:\e2e\devnodes.exe' list >"$1.raw" || {
        echo "devnodes list failed" >&2
        exit 1
    }
    sort "$1.raw" >"$1"
}

# run_host NAME HOOKHOST-OPTIONS...: runs the host and checks that it ran both entries
# once, that both returned 0, and that the host itself succeeded.
run_host() {
    local name=$1
    shift
    local status=0
    wine_run "$run_timeout" 'C:\e2e\hookhost.exe' unMW472.dll "$@" >"$work/$name.out" || status=$?
    echo "--- host, $name ($*): exit $status"
    cat "$work/$name.out"
    [ "$status" -eq 0 ] || fail "$name: the host exited with $status"
    printf 'UninstInitialize returned 0\nUninstUnInitialize returned 0\n' >"$work/host.expected"
    diff -u "$work/host.expected" "$work/$name.out" || fail "$name: the host's report differs"
}

# The camera's nodes: by first hardware ID (two products), and by description.
removed=(
    'ROOT\IMAGE\0001|USB\VID_0982&PID_6211&MI_00|USB Video Device'
    'ROOT\IMAGE\0002|USB\VID_0982&PID_6210|'
    'ROOT\IMAGE\0003|USB\VID_1234&PID_0001|Acme 5.0 m LUMACORDER Deluxe'
)
plant 'ROOT\IMAGE\0001' 'USB Video Device' 'USB\VID_0982&PID_6211&MI_00'
plant 'ROOT\IMAGE\0002' - 'USB\VID_0982&PID_6210'
plant 'ROOT\IMAGE\0003' 'Acme 5.0 m LUMACORDER Deluxe' 'USB\VID_1234&PID_0001'

# Near misses that must stay: the camera's ID only second, a neighbouring product and
# vendor, a description one letter short, and a node with no description at all.
kept=(
    'ROOT\IMAGE\0004|USB\VID_1234&PID_0002|Two-ID Device'
    'ROOT\IMAGE\0005|USB\VID_0982&PID_6212|Neighbour Product'
    'ROOT\IMAGE\0006|USB\VID_0983&PID_6211|Neighbour Vendor'
    'ROOT\IMAGE\0007|USB\VID_1234&PID_0003|5.0 M Lumacord'
    'ROOT\IMAGE\0008|USB\VID_1234&PID_0004|'
)
plant 'ROOT\IMAGE\0004' 'Two-ID Device' 'USB\VID_1234&PID_0002' 'USB\VID_0982&PID_6211'
plant 'ROOT\IMAGE\0005' 'Neighbour Product' 'USB\VID_0982&PID_6212'
plant 'ROOT\IMAGE\0006' 'Neighbour Vendor' 'USB\VID_0983&PID_6211'
plant 'ROOT\IMAGE\0007' '5.0 M Lumacord' 'USB\VID_1234&PID_0003'
plant 'ROOT\IMAGE\0008' - 'USB\VID_1234&PID_0004'

list_nodes "$work/before.txt"
echo "--- nodes before"
cat "$work/before.txt"
for node in "${removed[@]}" "${kept[@]}"; do
    grep -qxF -- "$node" "$work/before.txt" || fail "not planted as expected: $node"
done
# Wine's own nodes must be there too, or "every other node stays" would prove little.
wine_nodes=$(grep -vc '^ROOT\\IMAGE\\' "$work/before.txt" || true)
echo "Wine's own nodes: $wine_nodes"
[ "$wine_nodes" -gt 0 ] || fail "the prefix lists no nodes of its own"

# What must be left: everything but the camera's nodes.
grep -vxF -f <(printf '%s\n' "${removed[@]}") "$work/before.txt" >"$work/expected_after.txt" || true

run_host by-name-zero-args --args zero
list_nodes "$work/after_first.txt"
echo "--- nodes removed by the first run"
comm -23 "$work/before.txt" "$work/after_first.txt"
diff -u "$work/expected_after.txt" "$work/after_first.txt" ||
    fail "after the first run the nodes are not those expected"

run_host by-ordinal-nonzero-args --by-ordinal --args nonzero
list_nodes "$work/after_second.txt"
diff -u "$work/after_first.txt" "$work/after_second.txt" ||
    fail "the second run changed the nodes"

e2e_finish
