#!/usr/bin/env bash
# run_fuzzer.sh TARGET SEEDS WORK SECONDS: runs a libFuzzer target for a bounded time from a
# copy of the seed corpus (the seeds in the repository are never written), then prints the
# executions and the coverage it reached. Fails when the target finds a fault.
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
rm -rf "$work"
mkdir -p "$work"
cp -r "$seeds"/. "$work"/
log="$work.log"
if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" \
    "$work" >"$log" 2>&1; then
  tail -n 60 "$log"
  exit 1
fi
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
echo "$(basename "$target"): $executions executions in ${seconds} s, $coverage, corpus $(ls "$work" | wc -l) inputs"
