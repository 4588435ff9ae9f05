#!/usr/bin/env bash
# Configures and builds both builds: build/native (stand-in, host program, tests) and build/windows
# (Vantrope.xfm and vantrope.exe for i686).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
