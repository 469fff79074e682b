#!/usr/bin/env bash
# Makes the pictures of the user's guide's chapter on cutting a first design:
# the window tests walk through the design under Xvfb and save what the user
# sees into UsersGuide/images. Usage: scripts/guide-images.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(pwd)/UsersGuide/images
mkdir -p "$out"
export XDG_RUNTIME_DIR=$(mktemp -d)
BREVIX_GUIDE_IMAGES=$out xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/tests/app/test_app cut_facet_form_test roundBrilliantTierByTier recentFoldersAfterThreeSaves
# "Cutting to meet points": the picking walks through a crown main and a girdle facet.
BREVIX_GUIDE_IMAGES=$out xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/tests/app/test_app picking_test crownMainThroughTwoMeetPointsWithTheMouseAlone \
  girdleFacetThroughAPointOnAnEdge hoverShowsTheStatusTextAndTheCursor
# The chapter on light rays: the round brilliant with fans of rays.
cmake --build "$build" --target test_app
BREVIX_GUIDE_IMAGES=$out xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/tests/app/test_app raytrace_test fansInDiamondAndQuartz
