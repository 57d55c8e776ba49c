#!/usr/bin/env bash
# Configures and builds everything into ./build (or $TAL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
# Compiler cache shared by every clone of the project on this machine: paths are hashed relative to
# the clone, so a fresh clone (as CI makes) reuses what an earlier build compiled.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-12G}
build=${TAL_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
