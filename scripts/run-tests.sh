#!/usr/bin/env bash
# Installs what the test suite needs on Debian 12, builds it and runs all of it: the suite built
# with GCC and again with Clang, the suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# the library's tests under ThreadSanitizer, a bounded run of the fuzzer, and the suite
# cross-built for Windows x64 and 32-bit Windows and run under Wine. Every stage runs even when
# one before it failed; a table of all of them closes the output, and the command fails when any
# stage did. On a machine that cannot run 32-bit programs, the 32-bit Windows suite is built and
# its tests are reported as skipped, with the reason.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
set -e
bx_enable_i386
# The window tests render text: a font with Japanese glyphs, as the demonstration has. Make,
# Meson and pkg-config build the example as projects without CMake do.
bx_install_packages "${BX_BUILD_PACKAGES[@]}" libgtest-dev clang libclang-rt-14-dev \
  fonts-ipafont-gothic locales xvfb make meson pkg-config "${BX_WINDOWS_PACKAGES[@]}"
# One test lists the numbers in a locale that writes a decimal comma; the Windows window runs
# under Wine in Japanese.
bx_generate_locale de_DE.UTF-8
bx_generate_locale ja_JP.UTF-8
set +e

# The stages to run, all of them unless named: bash scripts/run-tests.sh clang windows-x86
stages=(dev clang sanitize tsan fuzz windows-x64 windows-x86)
[ $# -eq 0 ] || stages=("$@")
summary=()
failed_stages=0
total_passed=0 total_failed=0 total_skipped=0

# An attribute of the test suite in CTest's JUnit report: <testsuite ... tests="N" failures="N" ...>
junit_count() {
  grep -m1 -o "\b$1=\"[0-9]*\"" "$2" | tr -dc 0-9
}

# Runs one preset's configure, build and tests, and adds its row to the summary.
run_stage() {
  local preset=$1 start=$SECONDS result=ok junit="build/$1/test-results.xml"
  echo "=== ${preset}"
  rm -f "${junit}"
  if ! cmake --preset "${preset}" >/dev/null; then
    result="configure failed"
  elif ! cmake --build --preset "${preset}"; then
    result="build failed"
  elif ! ctest --preset "${preset}" --output-junit "${PWD}/${junit}"; then
    result="tests failed"
  fi
  [ "${result}" = ok ] || failed_stages=$((failed_stages + 1))
  local tests=- failures=- skipped=- passed=-
  if [ -f "${junit}" ]; then
    tests=$(junit_count tests "${junit}")
    failures=$(junit_count failures "${junit}")
    skipped=$(( $(junit_count skipped "${junit}") + $(junit_count disabled "${junit}") ))
    passed=$((tests - failures - skipped))
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failures))
    total_skipped=$((total_skipped + skipped))
    # Why tests were skipped, as the first of them said it (see cmake/MinGWToolchain.cmake).
    local why
    why=$(grep -m1 -o '<system-out>[^<;]*cannot run on this machine[^<;]*' "${junit}" |
          sed 's/^<system-out>//; s/  */ /g')
    if [ -n "${why}" ]; then
      echo "=== ${preset}: ${skipped} tests skipped: ${why}"
      result="${result}, tests skipped: ${why}"
    fi
  fi
  summary+=("$(printf '%-12s %7s %7s %8s %7s  %s' "${preset}" "${passed}" "${failures}" \
               "${skipped}" "$((SECONDS - start)) s" "${result}")")
  echo "=== ${preset}: ${result}, $((SECONDS - start)) s"
}

for preset in "${stages[@]}"; do
  run_stage "${preset}"
done

echo
echo "=== summary"
printf '%-12s %7s %7s %8s %7s  %s\n' stage passed failed skipped time result
printf '%s\n' "${summary[@]}"
echo "total: ${total_passed} passed, ${total_failed} failed, ${total_skipped} skipped"
[ "${failed_stages}" -eq 0 ]
