#!/usr/bin/env bash
# Builds the Debian package build/package/tamvisto_<version>_<arch>.deb from the build in
# build/ (installing what is needed and building first). Install it with
#   apt-get install ./build/package/tamvisto_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
# Packaging also needs dpkg-shlibdeps (dependencies from the libraries) and file.
scripts/install-deps.sh dpkg-dev file
scripts/build.sh
rm -f build/package/tamvisto_*.deb
(cd build && cpack -G DEB)
ls build/package/tamvisto_*.deb
