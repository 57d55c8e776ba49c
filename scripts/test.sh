#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
# slurm-wlm and munge: a one-node Slurm cluster for the cluster tests.
bash scripts/install-deps.sh slurm-wlm munge
bash scripts/build.sh
# The cluster tests run against a Slurm cluster of this machine, started for them.
cd "${TAL_BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen bash "$top/scripts/with-slurm.sh" ctest --output-on-failure -j"$(nproc)" --timeout 300
