#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each one for a few seconds from its seed corpus (fuzz/corpus/<target>). A finding stops
# with the fuzzer's report and the input that caused it.
#   scripts/fuzz.sh [SECONDS]              every target, SECONDS each (default 5)
#   scripts/fuzz.sh SECONDS TARGET ...     only those targets
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings checkpoint_list language_file day_file upload reply_framer comma_text)

# Warnings are errors in the normal build already; this build is for findings, so a warning only
# clang gives does not stop it.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKESTROVA_FUZZ=ON -DKESTROVA_BUILD_QT=OFF -DKESTROVA_BUILD_BENCH=OFF \
    "${launcher[@]}"
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

for target in "${targets[@]}"; do
    work=$(mktemp -d)
    echo "== fuzz_$target: ${seconds}s"
    # New inputs go to a scratch corpus; the seeds in the repository stay as they are.
    build-fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="$work/" "$work" "fuzz/corpus/$target"
    rm -rf "$work"
done
