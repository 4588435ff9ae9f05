#!/usr/bin/env bash
# Sets up, builds both builds and runs every test: the native unit tests first, then the Wine suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh
ctest --test-dir build/native -L unit --output-on-failure -j2 --timeout 300
ctest --test-dir build/native -L wine --output-on-failure --timeout 600
