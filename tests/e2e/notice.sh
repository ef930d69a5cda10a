#!/usr/bin/env bash
# The restart notice as a user meets it: the host's second call shows an ownerless box with
# the text, caption, information icon and single OK button, which stays up until the user
# clicks OK; then the call returns 0. The screenshot is kept for a person to look at.
#   notice.sh <wine_env.sh> <template prefix> <work folder> <dll> <hookhost.exe> <screenshot>
set -euo pipefail

wine_env=$1 template=$2 work=$3 dll=$4 hookhost=$5 screenshot=$6
# shellcheck source=../../scripts/wine_env.sh
source "$wine_env"

# Seconds to wait for the box to come up and, once dismissed, for the host to end.
appear_timeout=300
exit_timeout=120

host_pid=
cleanup() {
    [ -z "$host_pid" ] || kill "$host_pid" 2>/dev/null || true
    wine_stop
    xvfb_stop
}

mkdir -p "$(dirname "$screenshot")"
rm -f "$screenshot"
e2e_setup "$work" "$template" "$dll" "$hookhost"
trap cleanup EXIT
xvfb_start
echo "display $DISPLAY"
report="$WINEPREFIX/drive_c/e2e/notice.txt"

wine_run $((appear_timeout + exit_timeout)) 'C:\e2e\hookhost.exe' unMW472.dll --call uninit \
    --notice-report 'C:\e2e\notice.txt' >"$work/host.out" 2>"$work/host.err" &
host_pid=$!

give_up() {
    echo "FAIL: $*"
    echo "--- host output"
    cat "$work/host.out" "$work/host.err"
    exit 1
}

notice_dismiss "$host_pid" "$work/host.out" "$screenshot" "$appear_timeout" || give_up "$NOTICE_PROBLEM"

started=$SECONDS
while kill -0 "$host_pid" 2>/dev/null; do
    [ $((SECONDS - started)) -lt "$exit_timeout" ] ||
        give_up "the host did not end within ${exit_timeout}s of the click"
    sleep 1
done
host_status=0
wait "$host_pid" || host_status=$?
host_pid=
echo "host ended $((SECONDS - started))s after the click, exit $host_status"
echo "--- host output"
cat "$work/host.out" "$work/host.err"

[ "$host_status" -eq 0 ] || fail "the host exited with $host_status"
printf 'UninstUnInitialize returned 0\n' >"$work/host.expected"
diff -u "$work/host.expected" "$work/host.out" || fail "the host's report differs"

echo "--- notice report"
cat "$report" || give_up "no notice report"
cat >"$work/report.expected" <<'EOF'
owner=none
caption=Information
text=Please restart your computer!
icon=information
button=1|OK
EOF
diff -u "$work/report.expected" "$report" || fail "the box differs from the notice"

e2e_finish
