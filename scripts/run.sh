#!/usr/bin/env bash
# Installs what is needed, builds, and starts the desktop program. Without a display
# it starts under a virtual one (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
[ $# -eq 0 ] && set -- build/bin/Demo.TMV  # the demo document when none is named
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "No display: starting under Xvfb (xvfb-run)."
  exec xvfb-run -a build/bin/pelvoro "$@"
fi
exec build/bin/pelvoro "$@"
