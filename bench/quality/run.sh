#!/usr/bin/env bash
# The quality benchmark in one command: installs its packages (espeak-ng, fluidsynth with the General
# MIDI sound font, sox, numpy), builds the native host program, makes the material once (cached in
# build/quality/material, remade when its generator changes) and prints the scores of the shipped
# defaults, each preset in presets/ and ffmpeg's adeclick, per file and in total.
#   bash bench/quality/run.sh           the table
#   bash bench/quality/run.sh --tune    the search over settings that the presets were chosen from
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ "$(id -u)" = 0 ]; then
  bash tools/setup.sh quality
fi
cmake --preset native >/dev/null
cmake --build build/native -j"$(nproc 2>/dev/null || echo 2)" --target vantrope >/dev/null
material=build/quality/material
stamp=$(sha1sum bench/quality/make_material.py | cut -c1-12)
if [ "$(cat "$material/stamp" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$material"
  /usr/bin/python3 bench/quality/make_material.py "$material"
  echo "$stamp" >"$material/stamp"
fi
cd bench/quality
if [ "${1:-}" = --tune ]; then
  exec /usr/bin/python3 quality.py tune "../../$material" ../../build/native/app/vantrope "../../$material/tune.json"
fi
exec /usr/bin/python3 quality.py table "../../$material" ../../build/native/app/vantrope ../../presets
