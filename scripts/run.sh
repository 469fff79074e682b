#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs Brevix on a sample design.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/brilliant_example
