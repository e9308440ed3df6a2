#!/usr/bin/env bash
# Pictures of every window, each family registering its own in tools/screenshot
# (taken under a virtual X server):
#   scripts/screenshot.sh [build folder] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
cmake --build "$build" --target orvex_ui_screenshot
xvfb-run -a -s "-screen 0 1280x900x24" "$build/bin/orvex_ui_screenshot" "$out"
