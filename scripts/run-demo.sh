#!/usr/bin/env bash
# Installs what the demonstration needs on Debian 12, builds it and runs it. Without a display
# it prints its listing as text.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
# A font with Japanese glyphs, so that the window shows the text instead of empty boxes.
bx_install_packages "${BX_BUILD_PACKAGES[@]}" qt6-qpa-plugins fonts-ipafont-gothic
cmake --preset release >/dev/null
# Build progress goes to standard error, so that standard output is the program's alone.
cmake --build --preset release >&2
exec ./build/release/demo/bxres_demo
