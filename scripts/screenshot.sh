#!/usr/bin/env bash
# Builds the Windows target and takes the README's pictures: the bar with its
# output pane open, the bar docked at the bottom, the tray menu, a suggestion,
# a Tab list, text in several scripts and a program found by a few letters,
# running under Wine on a private
# Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh windows
mkdir -p docs
python3 tools/screenshot.py --build build/windows --work build/windows/screenshot \
    docs/screenshot.png docs/docked-bottom.png docs/tray-menu.png \
    docs/suggestion.png docs/tab-list.png docs/unicode.png docs/launcher.png
