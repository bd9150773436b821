#!/usr/bin/env bash
# Builds the project and runs every test: once in a normal build with warnings as errors, and
# once under AddressSanitizer and UndefinedBehaviorSanitizer; then the baton link's threaded
# tests (the link and the simulator) once more under ThreadSanitizer. "--quick" skips the
# sanitizer runs.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1

bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/check-qt-includes.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

# A compiler cache, where one is installed, makes the second and later builds cheap.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

run() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_WERROR=ON \
        "${launcher[@]}" "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" -j "$jobs" --timeout 300
}

run build
# Every reader of outside data under the fuzzer for a few seconds (sanitizers included).
bash scripts/fuzz.sh 5
if [ $quick -eq 0 ]; then
    # The sanitizer build leaves out only the benchmarks (build time, no checks); the Qt program,
    # its windows and their tests are built and run under the sanitizers like everything else.
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run build-asan -DKESTROVA_SANITIZE=ON -DKESTROVA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
fi
if [ $quick -eq 0 ]; then
    # ThreadSanitizer: only the targets whose tests run threads of the link, so it stays short.
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_WERROR=ON \
        "${launcher[@]}" -DKESTROVA_SANITIZE_THREAD=ON -DKESTROVA_BUILD_QT=OFF \
        -DKESTROVA_BUILD_BENCH=OFF
    cmake --build build-tsan -j "$jobs" --target link_tests sim_tests
    for t in build-tsan/link/link_tests build-tsan/sim/sim_tests; do
        TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$t" --gtest_brief=1
    done
fi
