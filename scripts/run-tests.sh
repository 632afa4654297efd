#!/usr/bin/env bash
# Installs what the test suite needs on Debian 12, builds it and runs all of it: the suite as
# built normally, the suite again under AddressSanitizer and UndefinedBehaviorSanitizer, the
# library's tests under ThreadSanitizer, a bounded run of the fuzzer, and the suite cross-built for Windows x64 and 32-bit Windows and
# run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bx_enable_i386
# The window tests render text: a font with Japanese glyphs, as the demonstration has.
bx_install_packages "${BX_BUILD_PACKAGES[@]}" libgtest-dev clang libclang-rt-14-dev \
  fonts-ipafont-gothic locales xvfb "${BX_WINDOWS_PACKAGES[@]}"
# One test lists the numbers in a locale that writes a decimal comma; the Windows window runs
# under Wine in Japanese.
bx_generate_locale de_DE.UTF-8
bx_generate_locale ja_JP.UTF-8
for preset in dev sanitize tsan fuzz windows-x64 windows-x86; do
  echo "=== ${preset}"
  start=$SECONDS
  cmake --preset "${preset}" >/dev/null
  cmake --build --preset "${preset}"
  ctest --preset "${preset}"
  echo "=== ${preset}: $((SECONDS - start)) s"
done
