#!/usr/bin/env bash
# Remakes the pictures in UsersGuide/images from the program itself, on a
# virtual screen. Needs a build with the GUI (scripts/build.sh build).
#   UsersGuide/make_screenshots.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target guide_screenshots
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/app/guide_screenshots" samples UsersGuide/images
# The pictures of "Cutting a first design" come from the window tests' walk through it.
cmake --build "$build" --target test_app
scripts/guide-images.sh "$build"
# The cutting assistant on the round brilliant and the oval, and its checklist.
cmake --build "$build" --target test_app
shots=$(mktemp -d)
BREVIX_GUIDE_IMAGES=$shots xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/app/test_app" cutting_assistant_test
for n in round_first round_crown oval_crown round_end; do cp "$shots/assistant_$n.png" UsersGuide/images/; done
pdftoppm -r 80 -f 1 -l 1 -png -singlefile "$shots/checklist.pdf" UsersGuide/images/assistant_checklist
rm -rf "$shots"
# The gallery of a folder of generated brilliants, brightest first.
cmake --build "$build" --target test_app
BREVIX_GUIDE_IMAGES=$(pwd)/UsersGuide/images xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/app/test_app" gallery_test sortsFiltersAndSearches
# The same folder with ASET tiles.
BREVIX_GUIDE_IMAGES=$(pwd)/UsersGuide/images xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/app/test_app" gallery_test tilesShowEachDesignFaceUpInALighting
# The optimiser's dialog at the end of a run on the round brilliant.
cmake --build "$build" --target test_app
BREVIX_GUIDE_IMAGES=$(pwd)/UsersGuide/images xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/app/test_app" optimise_dialog_test optimisesListsAndAppliesWithOneUndo
# Fit into Rough: the round brilliant placed in the example pebble scan.
BREVIX_GUIDE_IMAGES=$(pwd)/UsersGuide/images xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/app/test_app" fit_rough_test aScanIsCheckedFittedAndSaved
# The uninstaller's dialogs, from its widget tests with the installed texts.
cmake --build "$build" --target test_uninstaller_dialogs
BREVIX_GUIDE_IMAGES=$(pwd)/UsersGuide/images xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/uninstaller_ui/test_uninstaller_dialogs"
ls -l UsersGuide/images
