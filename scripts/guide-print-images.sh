#!/usr/bin/env bash
# Makes the picture of the user's guide's chapter on printing: the diagram
# of the round brilliant as brevix-cli writes it, drawn from the PDF the way
# a page looks on screen. Usage: scripts/guide-print-images.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(pwd)/UsersGuide/images
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build"/brevix-cli diagram samples/round_brilliant.asc "$work"/diagram.pdf
pdftoppm -png -r 80 -singlefile "$work"/diagram.pdf "$work"/page
cp "$work"/page.png "$out"/print-diagram.png
