#!/usr/bin/env bash
# Opens the first review of IN natively and under Wine with --report, keeps the Wine dialog open for a
# while, takes a screenshot of the Xvfb screen meanwhile, and checks with check_views.py that the
# view painted the same under real GDI as on the stand-in's canvas and that the screen showed it.
# Keeps native/, wine/ and screen.png in OUT as the test's artifacts.
#   compare_views.sh IN OUT
# Environment (set by the suite's CMake): VANTROPE_NATIVE_APP, VANTROPE_WINDOWS_APP, VANTROPE_WINE_STATE,
# VANTROPE_WINE_ARCH.
set -u
here=$(cd "$(dirname "$0")" && pwd)
native_app=${VANTROPE_NATIVE_APP:?the native host program}
windows_app=${VANTROPE_WINDOWS_APP:?the Windows host program}
[ $# -eq 2 ] || { echo "usage: compare_views.sh IN OUT" >&2; exit 2; }
input=$1 out=$2
for f in "$native_app" "$windows_app" "$input"; do
  [ -f "$f" ] || { echo "compare_views.sh: $f is missing" >&2; exit 2; }
done
prefix=$("$here/../run_wine.sh" prefix) || exit 2
rm -rf "$out"
mkdir -p "$out/native/settings" "$out/wine"
cp "$input" "$out/native/in.wav"
cp "$input" "$out/wine/in.wav"
: >"$out/stdin.txt"
rm -f "$prefix/drive_c/windows/Vantrope.ini"

(cd "$out/native" && timeout -k 5 60 "$native_app" --settings-dir settings --review "press:stop" --report report \
  in.wav out.wav <"$out/stdin.txt" >stdout.txt 2>stderr.txt) || { echo "FAILED: the native run"; exit 1; }

. "$here/../wine_env.sh"
export WINEPREFIX=$prefix
# The picture of review 1 is written as the dialog opens; the screenshot follows it while the script
# still waits with the dialog open.
timeout -k 5 90 xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  cd "$1/wine"
  timeout -k 5 60 "$3" "$2" --review "wait:4000;press:stop" --report report in.wav out.wav \
    <"$1/stdin.txt" >stdout.txt 2>stderr.txt &
  pid=$!
  tries=0
  while [ ! -f report/review-1.png ] && [ $tries -lt 200 ]; do sleep 0.1; tries=$((tries + 1)); done
  sleep 0.5
  import -window root "$1/screen.png"
  wait $pid; rc=$?
  timeout -k 5 20 wineserver -k 2>/dev/null
  timeout -k 5 20 wineserver -w 2>/dev/null
  exit $rc' sh "$out" "$windows_app" "$wine_loader" || { echo "FAILED: the Wine run (see $out/wine/stderr.txt)"; exit 1; }

python3 "$here/check_views.py" "$out/native/report/review-1.png" "$out/wine/report/review-1.png" "$out/screen.png"
