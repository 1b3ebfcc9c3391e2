#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build build -j"$(nproc)"
