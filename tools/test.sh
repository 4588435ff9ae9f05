#!/usr/bin/env bash
# Sets up, builds and runs every test, one layer at a time, fastest first: the native unit tests, the
# same unit tests built with AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for a
# bounded time (VANTROPE_FUZZ_SECONDS, default 50, two targets at a time, fixed seed), the 32-bit twin's numeric
# tests (directly, or under qemu-i386 where this machine cannot execute 32-bit code), and the Wine
# suite on the x86_64 and then the i686 Windows build. Ends with one line per layer; exits nonzero
# when any layer that could run failed. A layer that fails does not stop the later ones.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh || exit 1
logs=build/test-logs
mkdir -p "$logs"

if i386=$(bash tools/can_run_i386.sh); then
  echo "test: this machine executes 32-bit x86 code: the twin runs directly, the i686 build under 32-bit Wine"
else
  echo "test: ${i386#no: }: the twin runs under qemu-i386, the i686 Wine runs are skipped"
fi

summary=() failed=0
# count WORD LOG: how many tests of the ctest output LOG ended with WORD (Passed, ***Skipped, ...).
count() { grep -cE "^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*$1 +[0-9.]+ sec" "$2"; }
# layer NAME PRESET... -- CTEST_ARGS...: builds the presets, runs ctest and adds NAME's summary line.
layer() {
  local name=$1 log=$logs/${1//[^a-zA-Z0-9]/_}.log presets=() start=$SECONDS
  shift
  while [ "$1" != -- ]; do presets+=("$1"); shift; done
  shift
  echo "== $name"
  if ! bash tools/build.sh "${presets[@]}"; then
    summary+=("$name: FAILED to build (${presets[*]})"); failed=1; return
  fi
  ctest --output-on-failure "$@" 2>&1 | tee "$log"
  local status=$? passed skipped total
  passed=$(count Passed "$log"); skipped=$(count '\*\*\*Skipped' "$log")
  total=$(grep -cE "^ *[0-9]+/[0-9]+ Test +#" "$log")
  local line="$name: $passed tests passed"
  [ "$skipped" = 0 ] || line+=", $skipped skipped"
  if [ $status != 0 ] || [ $((passed + skipped)) != "$total" ] || [ "$total" = 0 ]; then
    line="$name: FAILED, $((total - passed - skipped)) of $total tests failed (log: $log)"; failed=1
  fi
  summary+=("$line ($((SECONDS - start)) s)")
}

layer native native -- --test-dir build/native -L unit -j2 --timeout 300
# Every sanitizer report ends the test it happens in.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
[ -x /usr/lib/llvm-14/bin/llvm-symbolizer ] && export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}
layer sanitizers native-asan -- --test-dir build/native-asan -L unit -j2 --timeout 600
# fuzzing: each target of tools/fuzz.sh for its bounded time, from its seeds and regression inputs
# (the grown corpus of longer runs is left to them), one summary line for all of them. The mutations
# follow a fixed seed (VANTROPE_FUZZ_SEED), so the test command tries the same inputs every time;
# finding new faults is the work of longer runs with fresh seeds (tools/fuzz.sh).
fuzzing() {
  local start=$SECONDS seconds=${VANTROPE_FUZZ_SECONDS:-50} seed=${VANTROPE_FUZZ_SEED:-1} lines
  echo "== fuzzing"
  bash tools/fuzz.sh --fresh --seed "$seed" all "$seconds" >"$logs/fuzzing.log" 2>&1
  local status=$?
  lines=$(tail -3 "$logs/fuzzing.log")
  printf '%s\n' "$lines"
  lines=$(printf '%s' "$lines" | sed 's/ ([0-9]* s)$//' | paste -sd ';' | sed 's/;/; /g')
  if [ "$status" = 0 ]; then
    summary+=("fuzzing: 3 targets, $seconds s each, seed $seed, no fault: $lines ($((SECONDS - start)) s)")
  else
    summary+=("fuzzing: FAILED: $lines (log: $logs/fuzzing.log)"); failed=1
  fi
}
fuzzing
layer "32-bit twin" native-i686 -- --test-dir build/native-i686 -j2 --timeout 900
last=${#summary[@]}
case $i386 in
  yes) summary[last - 1]="${summary[last - 1]/tests passed/tests passed directly}" ;;
  *) summary[last - 1]="${summary[last - 1]/tests passed/tests passed under qemu-i386}" ;;
esac
layer "Wine x86_64" native windows64 -- --test-dir build/native -L wine_x86_64 --timeout 600
layer "Wine i686" native windows -- --test-dir build/native -L wine_i686 --timeout 600
case $i386 in
  yes) ;;
  *) last=${#summary[@]}
     case ${summary[last - 1]} in
       *FAILED*) ;;
       *) summary[last - 1]="Wine i686: skipped: ${i386#no: }; Vantrope.xfm checked on disk: ${summary[last - 1]#Wine i686: }" ;;
     esac ;;
esac

echo
printf '%s\n' "${summary[@]}"
exit $failed
