#!/bin/bash
# Builds the libFuzzer targets of tests/fuzz with Clang in build-fuzz/ and runs
# each one for FUZZ_SECONDS (10 by default) on a copy of its committed seeds,
# so the repository is never written to. Exits non-zero when a target finds
# a crash, a sanitizer report, a violated property, a timeout or a memory
# blow-up; the input that did it is kept in build-fuzz/fuzz-run/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-10}
build=${FUZZ_BUILD_DIR:-build-fuzz}
targets=(fuzz_text_to_double fuzz_double_roundtrip fuzz_calculate_values)

bash scripts/deps.sh

cxx=""
for candidate in clang++ clang++-14; do
    if command -v "$candidate" >/dev/null; then
        cxx=$(command -v "$candidate")
        break
    fi
done
if [[ -z $cxx ]]; then
    echo "fuzz.sh: no clang++; apt-get install clang-14 libclang-rt-14-dev" >&2
    exit 2
fi
if ! "$cxx" -print-file-name=libclang_rt.fuzzer-x86_64.a | grep -q /; then
    echo "fuzz.sh: $cxx has no libFuzzer; apt-get install libclang-rt-14-dev" >&2
    exit 2
fi

# Everything in this build gets libFuzzer's coverage instrumentation and the
# sanitizers (EMBERLINE_SANITIZE, as in the asan-ubsan preset), so the
# libraries under test report into the fuzz targets; tests/fuzz adds
# libFuzzer's driver to the targets themselves. No Qt and no other tests:
# the build holds the libraries and the fuzz targets only.
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
    -DEMBERLINE_SANITIZE=ON \
    -DEMBERLINE_QT_UI=OFF \
    -DBUILD_TESTING=OFF \
    -DEMBERLINE_BUILD_FUZZERS=ON >/dev/null
cmake --build "$build" --target "${targets[@]}"

# Readable stacks where llvm-symbolizer is installed.
symbolizer=$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)
if [[ -n $symbolizer ]]; then
    export ASAN_SYMBOLIZER_PATH=$symbolizer
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
failed=0
for target in "${targets[@]}"; do
    work=$build/fuzz-run/$target
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/findings"
    cp -R "tests/fuzz/corpus/$target/." "$work/corpus/"
    options=(-max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048
             -artifact_prefix="$work/findings/" -print_final_stats=1)
    if [[ $target != fuzz_double_roundtrip ]]; then
        options+=(-dict=tests/fuzz/numbers.dict)
    fi
    echo "== $target: ${seconds}s"
    status=0
    "$build/tests/fuzz/$target" "${options[@]}" "$work/corpus" >"$work/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$work/log" | tail -n 1 || true)
    corpus=$(find "$work/corpus" -type f | wc -l)
    if ((status == 0)); then
        result=ok
    else
        result="FAILED (exit $status)"
        failed=1
        grep -E 'property violated|ERROR: |runtime error|SUMMARY|Test unit written' "$work/log" | head -n 20 >&2 || true
        echo "   full log: $work/log" >&2
    fi
    summary+=("$(printf '%-24s %s: %s runs, %s exec/s, %s, %s corpus files' \
        "$target" "$result" "${runs:-?}" "${rate:-?}" "${cov:-cov: ?}" "$corpus")")
done

echo
for line in "${summary[@]}"; do
    echo "fuzz: $line"
done
exit $failed
