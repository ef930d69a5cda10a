#!/usr/bin/env bash
# Boots the prefix that the Wine tests copy, once per build folder: a boot takes minutes
# under qemu, a copy seconds.
#   wine_template.sh <wine_env.sh> <template prefix>
set -euo pipefail
# shellcheck source=../../scripts/wine_env.sh
source "$1"
wine_template_ensure "$2"
