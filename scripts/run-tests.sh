#!/usr/bin/env bash
# Installs what the test suite needs on Debian 12, builds it and runs all of it: the suite as
# built normally, the suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# bounded run of the fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
# The window tests render text: a font with Japanese glyphs, as the demonstration has.
bx_install_packages "${BX_BUILD_PACKAGES[@]}" libgtest-dev clang libclang-rt-14-dev \
  fonts-ipafont-gothic locales
# One test lists the numbers in a locale that writes a decimal comma.
bx_generate_locale de_DE.UTF-8
for preset in dev sanitize fuzz; do
  echo "=== ${preset}"
  cmake --preset "${preset}" >/dev/null
  cmake --build --preset "${preset}"
  ctest --preset "${preset}"
done
