#!/usr/bin/env bash
# Runs the libFuzzer targets of the sanitizer build (tests/fuzz): settings (any bytes as the settings
# file), run (whole runs with fuzzed samples, settings and answers) and audio (any bytes as the host's
# input file), each for SECONDS (default 600), two at a time. Each grows its own corpus in
# build/fuzz-corpus/TARGET from the committed seeds and regression inputs; an input that finds a fault
# is kept in build/fuzz-artifacts/TARGET/ and belongs, once mended, in tests/fuzz/regressions/TARGET/.
# --fresh starts from the seeds and regression inputs alone, in a corpus dropped at the end (the test
# command's bounded runs: a grown corpus would take their whole time to replay). Ends with a line per
# target (runs, coverage, corpus size) and exits nonzero when any target found a fault. --seed N makes
# the mutations the same from run to run (the test command's: what it passed once it passes again, and
# a machine that is slower only tries fewer of the same inputs); without it each run takes new ones.
#   tools/fuzz.sh [--no-build] [--fresh] [--seed N] TARGET|all [SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
build=1 fresh=0 seed=()
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build=0; shift ;;
    --fresh) fresh=1; shift ;;
    --seed) case ${2:-} in ''|*[!0-9]*) echo "fuzz: --seed takes a whole number" >&2; exit 2 ;; esac
      seed=(-seed="$2"); shift 2 ;;
    *) break ;;
  esac
done
what=${1:-all} seconds=${2:-600}
targets=(settings run audio)
[ "$what" = all ] || targets=("$what")
for t in "${targets[@]}"; do
  [ -f "tests/fuzz/${t}_fuzz.cpp" ] || { echo "fuzz: no target $t (settings, run, audio or all)" >&2; exit 2; }
done
case $seconds in ''|*[!0-9]*) echo "fuzz: SECONDS must be a whole number" >&2; exit 2 ;; esac
mkdir -p build/fuzz-logs
if [ $build = 1 ] && ! { cmake --preset native-asan && cmake --build build/native-asan -j2 --target "${targets[@]/#/fuzz_}"; } \
    >build/fuzz-logs/build.log 2>&1; then
  tail -20 build/fuzz-logs/build.log; echo "fuzz: the targets did not build (log: build/fuzz-logs/build.log)"; exit 1
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
[ -x /usr/lib/llvm-14/bin/llvm-symbolizer ] && export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}
# The targets' scratch files (a settings file, an input file) go to a directory removed at the end,
# in memory where the machine offers it: every run writes them anew.
base=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
scratch=$(mktemp -d "$base/vantrope-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# fuzz_one TARGET: runs it and writes its summary line to build/fuzz-logs/TARGET.line.
fuzz_one() {
  local t=$1 log=build/fuzz-logs/$1.log corpus=build/fuzz-corpus/$1 artifacts=build/fuzz-artifacts/$1
  [ $fresh = 0 ] || corpus=$scratch/corpus-$1
  local inputs=(tests/fuzz/seeds/"$t") start=$SECONDS
  [ -d "tests/fuzz/regressions/$t" ] && inputs+=("tests/fuzz/regressions/$t")
  mkdir -p "$corpus" "$artifacts"
  TMPDIR=$scratch build/native-asan/tests/fuzz/fuzz_"$t" "${seed[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "${inputs[@]}" >"$log" 2>&1
  local status=$? runs cov ft corp
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  # The last status line: "#N DONE cov: C ft: F corp: K/SIZE ...".
  read -r cov ft corp < <(sed -nE 's/.*cov: ([0-9]+) ft: ([0-9]+) corp: ([0-9]+).*/\1 \2 \3/p' "$log" | tail -1)
  if [ $status = 0 ]; then
    echo "$t: ${runs:-0} runs, cov ${cov:-?}, ft ${ft:-?}, corpus ${corp:-?} ($((SECONDS - start)) s)"
  else
    local found
    found=$(ls -t "$artifacts" 2>/dev/null | head -1)
    echo "$t: FAILED after ${runs:-?} runs: ${found:+input $artifacts/$found, }log $log"
  fi >"build/fuzz-logs/$t.line"
  return $status
}

failed=0 running=()
for t in "${targets[@]}"; do
  fuzz_one "$t" & running+=($!)
  if [ ${#running[@]} = 2 ]; then
    wait "${running[0]}" || failed=1
    running=("${running[@]:1}")
  fi
done
for pid in "${running[@]}"; do wait "$pid" || failed=1; done
for t in "${targets[@]}"; do cat "build/fuzz-logs/$t.line"; done
exit $failed
