#!/usr/bin/env bash
# Times whole programs on the same 80 s benchmark file (music-like material with a click every half
# second, 16-bit mono 44.1 kHz): the native `vantrope --auto` against ffmpeg's adeclick filter with its
# default settings, and the i686 build under Wine against the native build (the x86_64 build under
# wine64 where this machine cannot execute 32-bit code). Several rounds each,
# interleaved; prints the machine (processor, cores, load), the medians with the range of the rounds
# and their ratios. Beside the whole programs, bench/time_xfm times the
# plug-in's own work (XfmDo alone, over the same material generated in memory) in both builds, so the
# Wine ratio is also given without Wine's and the host's start-up. Last, the peak memory (resident set,
# /usr/bin/time) of `vantrope --auto` on 80 s, 60 minutes and 3 hours of the same material
# (MEMORY_SECONDS lists other lengths; empty skips it).
#   bench/compare.sh [NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR [WINDOWS64_BUILD_DIR]]]
# Defaults: build/native, build/windows and build/windows64. ROUNDS (default 5) sets the rounds. The Wine runs use a
# prefix of their own per build under ${TMPDIR:-/tmp}, made on the first use and kept for later runs
# (removed with WINE_PREFIX_CLEANUP=1); without Wine, xvfb-run or the Windows build they are skipped.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
# Absolute paths: the Wine rounds run from the scratch directory.
native=$(realpath -m "${1:-$root/build/native}")
windows=$(realpath -m "${2:-$root/build/windows}")
windows64=$(realpath -m "${3:-$root/build/windows64}")
rounds=${ROUNDS:-5}
app=$native/app/vantrope
gen=$native/bench/make_bench_wav
exe_i686=$windows/app/vantrope.exe
exe_x86_64=$windows64/app/vantrope.exe
timer=$native/bench/time_xfm
for f in "$app" "$gen" "$timer"; do
  [ -x "$f" ] || { echo "compare.sh: $f has not been built (cmake --build $native --target vantrope make_bench_wav time_xfm)" >&2; exit 2; }
done
command -v ffmpeg >/dev/null || { echo "compare.sh: ffmpeg is not installed" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrope-compare-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$gen" "$work/in.wav" 80 music || exit 1

median() { sort -g | awk '{v[NR]=$1} END {if (NR % 2) print v[(NR+1)/2]; else printf "%.4f\n", (v[NR/2]+v[NR/2+1])/2}'; }
# spread FILE: "range LOW..HIGH s" of the rounds in FILE, so that no median is read without its spread.
spread() { sort -g "$1" | awk 'NR == 1 {lo = $1} {hi = $1} END {printf "range %s..%s s", lo, hi}'; }

# The machine the figures come from: a median means little without the processor and the load beside it.
echo "machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores," \
  "load $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"

# timed TIMES CPU COMMAND...: runs COMMAND (output to /dev/null) and appends its wall-clock seconds to
# TIMES and the processor seconds it used (user + system, which other programs on a busy machine do
# not inflate) to CPU. Fails when COMMAND fails.
timed() {
  python3 - "$@" <<'PY'
import resource, subprocess, sys, time
times, cpu, command = sys.argv[1], sys.argv[2], sys.argv[3:]
before = resource.getrusage(resource.RUSAGE_CHILDREN)
began = time.monotonic()
status = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
wall = time.monotonic() - began
after = resource.getrusage(resource.RUSAGE_CHILDREN)
used = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
with open(times, "a") as f: f.write("%.4f\n" % wall)
with open(cpu, "a") as f: f.write("%.4f\n" % used)
sys.exit(status)
PY
}

: >"$work/native.times"; : >"$work/ffmpeg.times"; : >"$work/native.cpu"; : >"$work/ffmpeg.cpu"
for r in $(seq "$rounds"); do
  rm -rf "$work/settings"
  timed "$work/native.times" "$work/native.cpu" "$app" --auto -y --settings-dir "$work/settings" "$work/in.wav" \
    "$work/out.wav" || { echo "compare.sh: vantrope failed" >&2; exit 1; }
  timed "$work/ffmpeg.times" "$work/ffmpeg.cpu" ffmpeg -nostdin -y -loglevel error -i "$work/in.wav" -af adeclick \
    "$work/ffmpeg.wav" || { echo "compare.sh: ffmpeg failed" >&2; exit 1; }
done
n=$(median <"$work/native.times")
f=$(median <"$work/ffmpeg.times")
nc=$(median <"$work/native.cpu")
fc=$(median <"$work/ffmpeg.cpu")
echo "80 s file, $rounds rounds, medians of whole program runs (wall clock; processor time):"
echo "  vantrope --auto (native)      $n s; $nc s ($(spread "$work/native.times") wall)"
echo "  ffmpeg -af adeclick           $f s; $fc s ($(spread "$work/ffmpeg.times") wall)"
echo "  adeclick / vantrope           $(echo "$f $n $fc $nc" | awk '{printf "%.1fx; %.1fx\n", $1 / $2, $3 / $4}')"
# field NAME LINE: the value after NAME in a time_xfm line ("median 0.0150 s" gives 0.0150).
field() { echo "$2" | sed -n "s/.*$1 \([0-9a-f.]*\).*/\1/p"; }
own=$("$timer" 80 music "$rounds") || { echo "compare.sh: time_xfm failed" >&2; exit 1; }
x=$(field median "$own")
echo "  plug-in's own work (XfmDo)    $x s, $(echo "$own" | sed -n 's/.*, \([0-9.]* M samples\/s\).*/\1/p')" \
  "($(echo "$own" | sed -n 's/.*best \([0-9.]*\) s, worst \([0-9.]*\) s.*/range \1..\2 s/p');" \
  "processor time $(echo "$own" | sed -n 's/.*processor time \([0-9.]*\) s.*/\1/p') s)"
echo "  adeclick / plug-in's own      $(echo "$f $x" | awk '{printf "%.1fx\n", $1 / $2}')"
echo "  vantrope / plug-in's own      $(echo "$n $x" | awk '{printf "%.1fx\n", $1 / $2}')"

# Peak memory of whole runs: the host holds one copy of the audio, the plug-in its block of the selection.
memory_seconds=${MEMORY_SECONDS-80 3600 10800}
if [ -n "$memory_seconds" ] && [ -x /usr/bin/time ]; then
  echo "peak memory of vantrope --auto (resident set):"
  for seconds in $memory_seconds; do
    "$gen" "$work/long.wav" "$seconds" music || exit 1
    rm -rf "$work/settings"
    peak=$(/usr/bin/time -f %M "$app" --auto -y --settings-dir "$work/settings" "$work/long.wav" "$work/long-out.wav" \
      2>&1 >/dev/null | tail -1)
    size=$(stat -c %s "$work/long.wav")
    printf '  %6s s of mono 16-bit audio (%4d MB): %5d MB, %.2fx the file\n' "$seconds" $((size / 1048576)) \
      $((peak / 1024)) "$(echo "$peak $size" | awk '{print $1 * 1024 / $2}')"
    rm -f "$work/long.wav" "$work/long-out.wav"
  done
fi

# Under Wine: the i686 build where this machine executes 32-bit code, else the x86_64 build under
# wine64, labelled as such. A figure is reported only for rounds that ran and wrote audio.
if i386=$(bash "$root/tools/can_run_i386.sh"); then
  arch=i686 exe=$exe_i686 wintimer=$windows/bench/time_xfm.exe
else
  arch=x86_64 exe=$exe_x86_64 wintimer=$windows64/bench/time_xfm.exe
  echo "  (the i686 build cannot run here: ${i386#no: }; timing the x86_64 build under wine64 instead)"
fi
export VANTROPE_WINE_ARCH=$arch
. "$root/tests/wine/wine_env.sh"
if [ ! -f "$exe" ] || ! command -v "$wine_loader" >/dev/null || ! command -v xvfb-run >/dev/null; then
  echo "  (Wine comparison skipped: needs $exe, $wine_loader and xvfb-run)"
  exit 0
fi
prefix=${TMPDIR:-/tmp}/vantrope-bench-wine-$arch
export WINEPREFIX=$prefix
# One Xvfb session for all Wine rounds, with the prefix's server kept running between them, so that
# the rounds time the program and not Wine's start-up of a cold prefix. A round whose program fails or
# writes no audio is noted in wine.failed and gives no time.
cp "$work/in.wav" "$work/wine-in.wav"
ln -s "$app" "$work/native-app"
timeout -k 5 900 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  work=$1 exe=$2 rounds=$3 prefix=$4 wintimer=$5 timer=$6 wine=$7
  now() { date +%s.%N; }
  if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    printf "%s\r\n" REGEDIT4 "" "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]" "\"Managed\"=\"N\"" "" \
      "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]" "\"ShowCrashDialog\"=dword:00000000" "" >"$work/headless.reg"
    timeout -k 5 180 "$wine" wineboot -i >/dev/null 2>&1 && timeout -k 5 60 "$wine" regedit /S "$work/headless.reg" \
      && wineserver -w
  fi
  wineserver -p 60
  cd "$work"
  if [ -f "$wintimer" ]; then
    timeout -k 5 300 "$wine" "$wintimer" 80 music "$rounds" >wine-own.txt 2>/dev/null || : >wine-own.txt
    "$timer" 80 music "$rounds" >native-own.txt 2>/dev/null
  fi
  timeout -k 5 60 "$wine" "$exe" --auto -y wine-in.wav wine-warm.wav >/dev/null 2>&1 # warm the prefix
  for r in $(seq "$rounds"); do
    rm -f wine-out.wav
    t=$(now); timeout -k 5 120 "$wine" "$exe" --auto -y wine-in.wav wine-out.wav >/dev/null 2>wine-stderr.txt
    rc=$?
    if [ $rc = 0 ] && [ -s wine-out.wav ]; then
      echo "$(now) $t" | awk "{printf \"%.4f\\n\", \$1 - \$2}" >>wine.times
    else
      echo "round $r: exit status $rc$([ -s wine-out.wav ] || echo ", no audio written"): $(head -c 200 wine-stderr.txt)" >>wine.failed
    fi
    rm -rf settings
    rm -f native-out.wav
    t=$(now); "$work/native-app" --auto -y --settings-dir settings in.wav native-out.wav >/dev/null 2>&1
    rc=$?
    if [ $rc = 0 ] && [ -s native-out.wav ]; then
      echo "$(now) $t" | awk "{printf \"%.4f\\n\", \$1 - \$2}" >>native2.times
    else
      echo "round $r: native exit status $rc" >>wine.failed
    fi
  done
  wineserver -k
 ' sh "$work" "$exe" "$rounds" "$prefix" "$wintimer" "$timer" "$wine_loader" 2>/dev/null
if [ -s "$work/wine.failed" ] || [ ! -s "$work/wine.times" ]; then
  echo "  (the $arch build under Wine failed to run; no Wine figures)"
  sed 's/^/    /' "$work/wine.failed" 2>/dev/null | head -5
  exit 1
fi
w=$(median <"$work/wine.times")
n2=$(median <"$work/native2.times")
printf '  %-34s%s\n' "Wine $arch: vantrope.exe --auto" "$w s ($(spread "$work/wine.times"))" \
  "vantrope --auto (native)" "$n2 s ($(spread "$work/native2.times"))" \
  "Wine ($arch) / native" "$(echo "$w $n2" | awk '{printf "%.2fx\n", $1 / $2}')"
status=0
if cmp -s "$work/wine-out.wav" "$work/native-out.wav"; then
  echo "  the two builds wrote identical audio"
else
  echo "  the two builds wrote different audio" >&2
  status=1
fi
if [ -s "$work/wine-own.txt" ] && [ -s "$work/native-own.txt" ]; then
  wo=$(cat "$work/wine-own.txt"); no=$(cat "$work/native-own.txt")
  wm=$(field median "$wo"); nm=$(field median "$no")
  printf '  %-34s%s\n' "Wine $arch: XfmDo alone" "$wm s" "XfmDo alone, native" "$nm s" \
    "Wine / native (XfmDo alone)" "$(echo "$wm $nm" | awk '{printf "%.2fx\n", $1 / $2}')"
  if [ "$(field digest "$wo")" = "$(field digest "$no")" ]; then
    echo "  XfmDo gave the same audio in both builds"
  else
    echo "  XfmDo gave different audio in the two builds" >&2
    status=1
  fi
else
  echo "  (XfmDo alone under Wine skipped: $wintimer did not run)"
fi
if [ "${WINE_PREFIX_CLEANUP:-0}" = 1 ]; then
  rm -rf "$prefix"
fi
exit $status
