#!/usr/bin/env bash
# Makes the pictures of the user's guide's chapter "Designing live": the
# window with the pending facets drawn over the views, the girdle warning
# and a drag of the pavilion mains with the Light Performance pane, from the
# window tests of the Design Figures pane (under Xvfb).
#   scripts/guide-live-images.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(pwd)/UsersGuide/images
mkdir -p "$out"
cmake --build "$build" --target test_app
export XDG_RUNTIME_DIR=$(mktemp -d)
BREVIX_GUIDE_IMAGES=$out xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/tests/app/test_app figures_pane_test
ls -l "$out"/live_*
