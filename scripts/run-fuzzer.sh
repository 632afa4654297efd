#!/usr/bin/env bash
# Runs the fuzzer for longer than the test suite does: bash scripts/run-fuzzer.sh [seconds]
# (default 600). New inputs collect in build/fuzz/tests/fuzz/corpus; a failing input is written
# to the current directory as crash-<hash>.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bx_install_packages "${BX_BUILD_PACKAGES[@]}" clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
exec ./build/fuzz/tests/fuzz/reader_fuzzer -max_total_time="${1:-600}" -rss_limit_mb=2048 \
  -timeout=10 -print_final_stats=1 build/fuzz/tests/fuzz/corpus tests/fuzz/corpus
