#!/usr/bin/env bash
# Installs what is missing, builds Kavrix with its tests and runs them all on the offscreen platform.
#   ./test.sh            Release build, every test
#   ./test.sh --sanitize the same under AddressSanitizer and UndefinedBehaviorSanitizer, then, when
#                        clang with libFuzzer is installed, a short fuzzing of the project reader
#                        and of load-then-run from their seed corpus
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
kavrix_install_missing

dir=build/test; extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/sanitize
  extra=(-DKAVRIX_SANITIZE=ON -DKAVRIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  extra=(-DCMAKE_BUILD_TYPE=Release)
fi
export QT_QPA_PLATFORM=offscreen
# Qt asks for a private runtime folder; a machine without a login session (CI) has none.
[ -n "${XDG_RUNTIME_DIR:-}" ] || export XDG_RUNTIME_DIR="$(mktemp -d)"
cmake -S . -B "$dir" -G Ninja -DKAVRIX_TESTS=ON "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(kavrix_jobs)"
ctest --test-dir "$dir" --output-on-failure -j "$(kavrix_jobs)" --timeout 300

# Every build above replays the fuzz seed corpus; a compiler with libFuzzer also fuzzes from it.
if [ "${1:-}" = "--sanitize" ] && command -v clang++ >/dev/null 2>&1; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKAVRIX_FUZZ=ON -DKAVRIX_TESTS=OFF \
    -DKAVRIX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  if grep -q '^KAVRIX_HAVE_LIBFUZZER:INTERNAL=1$' build/fuzz/CMakeCache.txt; then
    cmake --build build/fuzz -j "$(kavrix_jobs)" --target kavrix_fuzz_project_reader kavrix_fuzz_load_run
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 ctest --test-dir build/fuzz -L fuzz --output-on-failure -j 2
  fi
fi
