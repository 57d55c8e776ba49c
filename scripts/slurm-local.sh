#!/usr/bin/env bash
# A one-node Slurm cluster on this machine, for the cluster tests.
#   slurm-local.sh start DIR   writes DIR/slurm.conf, starts munged, slurmctld and slurmd, waits
#                              until the node answers, and prints the line to export SLURM_CONF
#   slurm-local.sh stop DIR    stops the daemons it started (by their process ids)
# Everything lives below DIR: configuration, state, spool, logs, the munge key and socket.
# Exit status 1 (with the reason) when the daemons cannot be started.
set -uo pipefail
action=${1:?usage: slurm-local.sh start|stop DIR}
dir=$(realpath -m "${2:?usage: slurm-local.sh start|stop DIR}")

stop() {
  for pidfile in "$dir/slurmd.pid" "$dir/slurmctld.pid" "$dir/munge/munged.pid"; do
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
  done
  sleep 1
  return 0
}

start() {
  for tool in munged slurmctld slurmd sbatch squeue scancel scontrol; do
    command -v "$tool" >/dev/null || { echo "slurm-local: $tool is not installed (Debian packages slurm-wlm and munge)"; return 1; }
  done
  mkdir -p "$dir"/{state,spool,log,munge}
  chmod 700 "$dir/munge"
  [ -f "$dir/munge/munge.key" ] || { head -c 1024 /dev/urandom > "$dir/munge/munge.key"; chmod 600 "$dir/munge/munge.key"; }
  local host node
  host=$(hostname -s)
  # The node line as slurmd sees this machine, so the configuration matches its processors.
  node=$(slurmd -C 2>/dev/null | head -n 1)
  [ -n "$node" ] || node="NodeName=$host CPUs=$(nproc)"
  cat > "$dir/slurm.conf" <<CONF
ClusterName=talshell-test
SlurmctldHost=$host
SlurmUser=$(id -un)
SlurmdUser=$(id -un)
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dir/munge/munge.socket.2
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
SlurmctldPort=26817
SlurmdPort=26818
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
MpiDefault=none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MinJobAge=600
$node State=UNKNOWN
PartitionName=debug Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
  munged --force -S "$dir/munge/munge.socket.2" --key-file="$dir/munge/munge.key" \
    --log-file="$dir/log/munged.log" --pid-file="$dir/munge/munged.pid" --seed-file="$dir/munge/seed" \
    || { echo "slurm-local: munged did not start"; return 1; }
  export SLURM_CONF="$dir/slurm.conf"
  slurmctld -f "$SLURM_CONF" || { echo "slurm-local: slurmctld did not start (see $dir/log)"; stop; return 1; }
  slurmd -f "$SLURM_CONF" || { echo "slurm-local: slurmd did not start (see $dir/log)"; stop; return 1; }
  for _ in $(seq 1 30); do
    if sinfo -h -o %t 2>/dev/null | grep -q -E '^(idle|mix|alloc)'; then
      echo "export SLURM_CONF=$SLURM_CONF"
      return 0
    fi
    sleep 1
  done
  echo "slurm-local: the node did not come up within 30 s (see $dir/log)"
  stop
  return 1
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: slurm-local.sh start|stop DIR"; exit 2 ;;
esac
