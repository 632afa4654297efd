#!/usr/bin/env bash
# Installs what the benchmarks need on Debian 12 (Google Benchmark, ICU, SDL2 and the Japanese
# manual pages besides the build tools and Qt), builds them twice, with link-time optimization
# and without it (the library linked as users link it), and runs them. Each run ends with its
# table of ratios; the run without link-time optimization measures the readers only. Then the
# costs that grow with the number of resources (scale_bench), with link-time optimization: the
# lookups of programs whose resources come from resource scripts, which the MinGW-w64 resource
# compiler compiles, and the build of projects of declarations.
# Arguments go to both runs, e.g. --rounds=15.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bx_install_packages "${BX_BUILD_PACKAGES[@]}" libbenchmark-dev libicu-dev libsdl2-dev \
  fonts-ipafont-gothic manpages-ja binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64

# The second token corpus is made from the manual pages. A system whose dpkg leaves manual pages
# out (as slim container images do) gets them from the package itself.
pages=/usr/share/man/ja
if ! compgen -G "$pages/man1/*.gz" >/dev/null; then
  mkdir -p build/manpages-ja
  (cd build/manpages-ja && rm -f ./*.deb && apt-get download manpages-ja >/dev/null &&
    dpkg-deb -x manpages-ja_*.deb .)
  pages=$PWD/build/manpages-ja/usr/share/man/ja
fi

for preset in bench bench-nolto; do
  cmake --preset "$preset" -DBX_BENCH_MANUAL_PAGES="$pages" >/dev/null
  cmake --build --preset "$preset"
done
./build/bench/bench/reader_bench "$@"
echo
./build/bench-nolto/bench/reader_bench --ratio_filter='^(Read|ResourceStream)' "$@"
echo
./build/bench/bench/scale_bench "$@"
