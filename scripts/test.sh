#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600)

# The fuzz targets run briefly (10 s each) under the sanitizers.
if ls fuzz/*_fuzz.cpp >/dev/null 2>&1 && command -v clang++-14 >/dev/null; then
  if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPELVORO_BUILD_FUZZ=ON -DPELVORO_BUILD_GUI=OFF -DPELVORO_BUILD_TESTS=OFF
  fi
  cmake --build build-fuzz -j"$(nproc)"
  (cd build-fuzz && ctest --output-on-failure -j"$(nproc)")
fi
