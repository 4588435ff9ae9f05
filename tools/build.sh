#!/usr/bin/env bash
# Configures and builds the given build trees, by preset name (default: all four): native (stand-in,
# host program, tests), native-i686 (the 32-bit twin), windows (Vantrope.xfm and vantrope.exe for
# i686) and windows64 (the same for x86_64, the Wine suite's test vehicle).
#   tools/build.sh [PRESET...]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native native-i686 windows windows64)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j"$jobs"
done
