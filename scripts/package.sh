#!/usr/bin/env bash
# Builds the Debian package talshell_VERSION_ARCH.deb into ./build (or $TAL_BUILD_DIR). Install it
# with: apt-get install ./build/talshell_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd "${TAL_BUILD_DIR:-build}"
cpack -G DEB
