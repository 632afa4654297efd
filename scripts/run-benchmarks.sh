#!/usr/bin/env bash
# Installs what the benchmarks need on Debian 12 (Google Benchmark, ICU, SDL2 besides the build
# tools and Qt), builds them with optimization and runs them; the table of ratios comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bx_install_packages "${BX_BUILD_PACKAGES[@]}" libbenchmark-dev libicu-dev libsdl2-dev \
  fonts-ipafont-gothic
cmake --preset bench >/dev/null
cmake --build --preset bench
exec ./build/bench/bench/reader_bench "$@"
