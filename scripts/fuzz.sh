#!/usr/bin/env bash
# Builds the fuzz targets of the three readers with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz and runs each for SECONDS (60 unless told), starting
# from the committed seeds in fuzz/corpus. A crash or a sanitizer report ends the script with an
# error and leaves the input that caused it in build-fuzz/artifacts.
#   scripts/fuzz.sh [SECONDS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
seconds=${1:-60}
fuzz_build="$ROOT/build-fuzz"

PACKAGES=(cmake make clang libclang-rt-14-dev)
install_missing_packages

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$ROOT" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORBISTA_SANITIZE=fuzzer-no-link,address,undefined -DORBISTA_BUILD_FUZZ=ON \
    -DORBISTA_BUILD_UI=OFF -DORBISTA_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
targets=(settings_fuzzer spin_file_fuzzer script_fuzzer)
cmake --build "$fuzz_build" -j "$(nproc)" --target "${targets[@]}"

mkdir -p "$fuzz_build/artifacts"
for target in "${targets[@]}"; do
    seeds="$ROOT/fuzz/corpus/${target%_fuzzer}"
    # New inputs go to a scratch corpus, so the committed seeds stay small.
    corpus="$fuzz_build/corpus/${target%_fuzzer}"
    mkdir -p "$corpus"
    log="$fuzz_build/$target.log"
    dict=()
    if [ -f "$ROOT/fuzz/${target%_fuzzer}.dict" ]; then
        dict=(-dict="$ROOT/fuzz/${target%_fuzzer}.dict")
    fi
    if ! "$fuzz_build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" \
        -artifact_prefix="$fuzz_build/artifacts/$target-" "$corpus" "$seeds" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: FAILED (log in $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $runs runs in $seconds s, no crash"
done
