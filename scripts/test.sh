#!/usr/bin/env bash
# The whole test run: set-up, the host build with its unit tests (plain and with
# sanitizers), bounded runs of the fuzz targets, then the Windows build with its end-to-end
# tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
start=$(date +%s)
for preset in host host-sanitize fuzz win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
echo "test run took $(( $(date +%s) - start )) s"
