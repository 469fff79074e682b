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
cmake --build "$build" --target test_app_cut_facet_form_test
scripts/guide-images.sh "$build"
# The uninstaller's dialogs, from its widget tests with the installed texts.
cmake --build "$build" --target test_uninstaller_dialogs
BREVIX_GUIDE_IMAGES=$(pwd)/UsersGuide/images xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/uninstaller_ui/test_uninstaller_dialogs"
ls -l UsersGuide/images
