#!/usr/bin/env bash
# Runs COMMAND with a one-node Slurm cluster of this machine started for it (SLURM_CONF exported)
# and stops the cluster afterwards. When the cluster cannot start, COMMAND runs without it and the
# cluster tests are skipped, each saying so. The exit status is COMMAND's.
#
#   scripts/with-slurm.sh COMMAND [ARGUMENTS ...]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
slurm_dir=$(mktemp -d /tmp/talshell-slurm.XXXXXX)
started=0
if slurm_line=$(bash "$top/scripts/slurm-local.sh" start "$slurm_dir"); then
  eval "$slurm_line"
  started=1
  echo "Slurm cluster for the cluster tests: $SLURM_CONF"
else
  echo "$slurm_line: the cluster tests will be skipped"
fi
"$@"
status=$?
if [ $started = 1 ]; then bash "$top/scripts/slurm-local.sh" stop "$slurm_dir"; fi
rm -rf "$slurm_dir"
exit $status
