#!/usr/bin/env bash
# The DLL's tables as a host and the loader see them: its module name, its two entries by
# name and ordinal, the few imports it is allowed, and no resources.
#   pe_tables.sh <objdump> <dll>
set -euo pipefail

objdump=$1
dll=$2

failures=0
check() {
    local what=$1 expected=$2 actual=$3
    if [ "$expected" = "$actual" ]; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        echo "  expected: $(printf '%q' "$expected")"
        echo "  actual:   $(printf '%q' "$actual")"
        failures=$((failures + 1))
    fi
}

headers=$("$objdump" -p "$dll")
sections=$("$objdump" -h "$dll")

# The text between a heading line and the next "There is a/an ..." heading (or the end).
part() {
    awk -v heading="$1" 'index($0, heading) == 1 { inside = 1; next }
                         inside && /^There is an? / { exit }
                         inside { print }' <<<"$headers"
}
exports=$(part "The Export Tables")
imports=$(part "The Import Tables")

# The first line that starts with the label, less the label; "Name" and "Export Address
# Table" come again further on, as the start of other labels or with addresses.
field() {
    awk -v label="$1" 'index($0, label) == 1 {
                           value = substr($0, length(label) + 1); gsub(/^[ \t]+/, "", value)
                           print value; exit
                       }' <<<"$exports"
}
# "0000303c unMW472.dll": the name's address, then the name.
check "export module name" "unMW472.dll" "$(field 'Name ' | awk '{ print $NF }')"
ordinal_base=$(field "Ordinal Base")
check "ordinal base" "1" "$ordinal_base"
check "export address table size" "00000002" "$(field $'\tExport Address Table ')"
check "name pointer table size" "00000002" "$(field $'\t[Name Pointer/Ordinal] Table\t')"

# "[   0] +base[   1] 1424 Export RVA": ordinal and kind of each address; a forwarder says
# "Forwarder RVA -- target".
check "exported addresses (ordinal kind)" $'1 Export RVA\n2 Export RVA' \
    "$(sed -n 's/^\t\[ *[0-9]*\] +base\[ *\([0-9]*\)\] [0-9a-f]* \(.*\)$/\1 \2/p' <<<"$exports")"
check "no forwarders" "0" "$(grep -c 'Forwarder' <<<"$exports" || true)"

# "[   0] UninstInitialize": the index into the address table, from which the ordinal is
# the index plus the base.
check "exported names (ordinal name)" $'1 UninstInitialize\n2 UninstUnInitialize' \
    "$(awk -v base="$ordinal_base" '/^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
            names && match($0, /^\t\[ *[0-9]+\] [^ ]+$/) {
                index_text = $0; sub(/^\t\[ */, "", index_text); sub(/\].*/, "", index_text)
                print index_text + base, $NF
            }' <<<"$exports" | sort)"

check "imported libraries" $'KERNEL32.dll\nSETUPAPI.dll\nUSER32.dll' \
    "$(awk '/DLL Name:/ { print $3 }' <<<"$imports" | sort)"

allowed="GetWindowsDirectoryA FindFirstFileA FindNextFileA FindClose DeleteFileA
RemoveDirectoryA GetPrivateProfileSectionA OpenFile OutputDebugStringA FormatMessageA
GetLastError LocalAlloc LocalFree SetupDiGetClassDevsA SetupDiEnumDeviceInfo
SetupDiGetDeviceRegistryPropertyA SetupDiRemoveDevice SetupDiDestroyDeviceInfoList MessageBoxA"
# "\t40b0\t  617  GetLastError": one line per imported function; by ordinal it would read
# "<none>", which is no allowed name either.
imported=$(awk '/^\t[0-9a-f]+\t/ { print $NF }' <<<"$imports")
check "some functions imported" "yes" "$([ -n "$imported" ] && echo yes || echo no)"
not_allowed=""
while read -r function; do
    grep -qw -- "$function" <<<"$allowed" || not_allowed+="$function "
done <<<"$imported"
check "imports outside the allowed set" "" "$not_allowed"
check "wide-character imports" "" "$(grep -E 'W$' <<<"$imported" || true)"

check "resource directory entry" "00000000 00000000" \
    "$(awk '$1 == "Entry" && $2 == "2" { print $3, $4 }' <<<"$headers")"
check "no .rsrc section" "0" "$(grep -c '\.rsrc' <<<"$sections" || true)"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
