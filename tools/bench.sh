#!/usr/bin/env bash
# Builds what the benchmarks need and runs them: the Google Benchmark cases (whole runs over 80 s of
# generated material and the verification at a candidate, medians of several repetitions, samples
# per second), then bench/compare.sh (the host program against ffmpeg's adeclick, and the i686 build
# under Wine against native, or the x86_64 build where this machine cannot execute 32-bit code; as whole
# programs and, through time_xfm, XfmDo alone). Build trees: BENCH_NATIVE_DIR (default
# build/native-bench, release flags), BENCH_WINDOWS_DIR (default build/windows) and BENCH_WINDOWS64_DIR
# (default build/windows64); REPETITIONS and ROUNDS set the counts.
set -euo pipefail
cd "$(dirname "$0")/.."
native=${BENCH_NATIVE_DIR:-build/native-bench}
windows=${BENCH_WINDOWS_DIR:-build/windows}
windows64=${BENCH_WINDOWS64_DIR:-build/windows64}
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native" -j2 --target vantrope_bench vantrope make_bench_wav time_xfm
if command -v i686-w64-mingw32-g++-posix >/dev/null; then
  cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$windows" -j2 --target vantrope_plugin vantrope time_xfm
fi
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  cmake -S . -B "$windows64" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$windows64" -j2 --target vantrope_plugin vantrope time_xfm
fi
"$native/bench/vantrope_bench" --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only=true \
  --benchmark_filter="${BENCH_FILTER:-.}" 2>&1 | grep -E '^(Benchmark|-|BM_)' | grep -vE '^BM_[A-Za-z]+_(mean|stddev|cv) '
bash bench/compare.sh "$native" "$windows" "$windows64"
