#!/usr/bin/env bash
# Makes the pictures of the user's guide's chapter on light performance:
# the window with the Light Performance pane (from the window test, under
# Xvfb), the pane under ASET, and face-up pictures from brevix-cli light.
#   scripts/guide-light-images.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(pwd)/UsersGuide/images
mkdir -p "$out"
export XDG_RUNTIME_DIR=$(mktemp -d)
BREVIX_GUIDE_IMAGES=$out xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/tests/app/test_app light_pane_test viewMenuShowsThePaneWithTheLibrarysFigures
# The pane with ASET chosen.
BREVIX_GUIDE_IMAGES=$out xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build"/tests/app/test_app light_pane_test roomsShowTheirPictureAndTheirFigures
cli="$build/brevix-cli light samples/round_brilliant.asc --size 240"
$cli --material quartz --out "$out/light-quartz.png"
$cli --material diamond --out "$out/light-diamond.png"
$cli --material diamond --model cos --out "$out/light-diamond-cos.png"
$cli --material diamond --tilt 20 --out "$out/light-diamond-tilt20.png"
$cli --material diamond --head-shadow 15 --out "$out/light-diamond-shadow.png"
# The lighting environments, in the sample's own index.
for room in aset office spot dome; do
  $build/brevix-cli light samples/round_brilliant.gem --size 240 --lighting $room --out "$out/light-$room.png"
done
# Fire shows as thin coloured fringes: a large picture, one quarter of it.
$build/brevix-cli light samples/round_brilliant.asc --size 640 --material diamond --dispersion \
  --out "$out/light-diamond-fire.png"
convert "$out/light-diamond-fire.png" -crop 320x320+320+0 +repage -strip "$out/light-diamond-fire.png"
ls -l "$out"/light*
