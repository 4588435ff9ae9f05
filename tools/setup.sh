#!/usr/bin/env bash
# Installs what building and testing Vantrope needs on Debian 12 (run as root). Idempotent: packages
# that are already there are not fetched again. `setup.sh quality` also installs what the quality
# benchmark (bench/quality) makes its material with.
set -euo pipefail

# wine64 and the x86_64 cross compiler make the Wine suite's test vehicle, which every machine can run;
# g++-multilib and qemu-user-static the 32-bit twin, run under qemu where 32-bit code cannot run directly.
# clang-14 with its sanitizer and libFuzzer runtimes (libclang-rt-14-dev) makes the sanitizer build and the
# fuzz targets; llvm-14's symbolizer names the lines of a sanitizer's report.
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev libsndfile1-dev
          libpng-dev libstb-dev g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix
          mingw-w64-x86-64-dev wine wine32:i386 wine64 xvfb xauth imagemagick g++-multilib qemu-user-static
          ffmpeg hyperfine python3 clang-14 libclang-rt-14-dev llvm-14)
if [ "${1:-}" = quality ]; then
  packages+=(espeak-ng fluidsynth fluid-soundfont-gm sox python3-numpy)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
