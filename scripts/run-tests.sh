#!/usr/bin/env bash
# Installs what the test suite needs on Debian 12, builds it and runs all of it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bx_install_packages "${BX_BUILD_PACKAGES[@]}" libgtest-dev
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev
