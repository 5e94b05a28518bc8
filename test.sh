#!/usr/bin/env bash
# Installs what is missing, builds Kavrix with its tests and runs them all on the offscreen platform.
#   ./test.sh            Release build, every test
#   ./test.sh --sanitize the same under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
kavrix_install_missing

dir=build/test; extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/sanitize
  extra=(-DKAVRIX_SANITIZE=ON -DKAVRIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  extra=(-DCMAKE_BUILD_TYPE=Release)
fi
export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$dir" -G Ninja -DKAVRIX_TESTS=ON "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(kavrix_jobs)"
ctest --test-dir "$dir" --output-on-failure -j "$(kavrix_jobs)" --timeout 300
