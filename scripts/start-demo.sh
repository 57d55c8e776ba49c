#!/usr/bin/env bash
# Installs what is missing, builds, and starts talshell on the demo workspace.
# Pass "talkit" to start the form-only mode; further arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd "${TAL_BUILD_DIR:-build}/demo"
program=./talshell
if [ "${1:-}" = talkit ]; then program=./talkit; shift; fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
