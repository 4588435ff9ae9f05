#!/usr/bin/env bash
# The first thing to try: installs what the build needs, builds the native preset, writes the
# bundled example recording (4 s of tones and noise with a dozen clicks) into build/example/ and runs
# the host program on it with every confirmed click repaired automatically. Prints the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then
  bash tools/setup.sh
else
  echo "demo: not root, skipping tools/setup.sh (run it as root if the build lacks packages)" >&2
fi
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs" --target vantrope make_example
mkdir -p build/example
build/native/app/make_example build/example/example.wav
# A settings directory of the demo's own, so that earlier runs' settings do not change the result.
rm -rf build/example/settings
build/native/app/vantrope --auto -y --settings-dir build/example/settings --log build/example/transcript.jsonl \
  build/example/example.wav build/example/repaired.wav
echo "demo: repaired audio in build/example/repaired.wav, transcript in build/example/transcript.jsonl"
