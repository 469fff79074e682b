#!/usr/bin/env bash
# The main job: installs what is missing, builds, and opens Brevix on the
# round brilliant sample. Without a display it does the headless part of the
# job with brevix-cli: the design's statistics and cutting instructions, and
# its consistency check. A design file may be given instead of the sample.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DBREVIX_GUI=ON
design=${1:-samples/round_brilliant.asc}

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/src/app/brevix ]; then
  exec build/src/app/brevix "$design"
fi

echo "No display: running the headless part of Brevix (brevix-cli) on $design"
echo
build/brevix-cli info "$design"
echo
build/brevix-cli check "$design"
