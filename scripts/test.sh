#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
# slurm-wlm and munge: a one-node Slurm cluster for the cluster tests.
bash scripts/install-deps.sh slurm-wlm munge
bash scripts/build.sh
# The cluster tests run against a Slurm cluster of this machine, started here and stopped at the
# end; when it cannot start they are skipped, each saying so.
slurm_dir=$(mktemp -d /tmp/talshell-slurm.XXXXXX)
if slurm_line=$(bash scripts/slurm-local.sh start "$slurm_dir"); then
  eval "$slurm_line"
  # The tests' exit status stays the script's.
  trap 'status=$?; bash "$top/scripts/slurm-local.sh" stop "$slurm_dir"; rm -rf "$slurm_dir"; exit $status' EXIT
  echo "Slurm cluster for the cluster tests: $SLURM_CONF"
else
  echo "$slurm_line: the cluster tests will be skipped"
fi
cd "${TAL_BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
