#!/usr/bin/env bash
# Builds the game from scratch and runs every test: once as shipped, once with
# AddressSanitizer and UndefinedBehaviorSanitizer, the engine tests (which
# drive the loader threads) once more with ThreadSanitizer, and each fuzz
# target for a short fixed number of inputs.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

Tools/setup.sh

jobs=$(nproc)
status=0

# run_ctest <build dir> <label regex> [launcher...]
run_ctest()
{
    local dir=$1 labels=$2
    shift 2
    (cd "$dir" && "$@" ctest -L "$labels" -j "$jobs" --timeout 300 --output-on-failure) || status=1
}

# run_suite <build dir> <cmake options...>
run_suite()
{
    local dir=$1
    shift
    echo "=== $dir"
    rm -rf "$dir"
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
    run_ctest "$dir" '^unit$'
    # -noreset: a server that resets after its last client refuses the next
    # test's connection for a moment.
    run_ctest "$dir" '^(gl|e2e)$' xvfb-run -a -s "-screen 0 1024x768x24 -noreset"
}

# The OpenGL and end-to-end tests preload Mesa's driver (see Tests/CMakeLists.txt),
# so the sanitizer's runtime is not the first library.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$root/Tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

run_suite build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZEV_SANITIZE=ON

echo "=== build/tsan"
rm -rf build/tsan
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEV_TSAN=ON >/dev/null
cmake --build build/tsan
run_ctest build/tsan '^unit$'

echo "=== build/fuzz"
rm -rf build/fuzz
fuzz_build=0
Tools/fuzz.sh --build || fuzz_build=$?
case $fuzz_build in
    0) run_ctest build/fuzz '^fuzz$' ;;
    2) echo "The fuzz targets are skipped." ;;
    *) status=1 ;;
esac

if [[ $status -ne 0 ]]; then
    echo "Some tests failed."
fi
exit $status
