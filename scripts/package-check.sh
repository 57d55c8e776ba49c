#!/usr/bin/env bash
# Checks the Debian package as a user gets it: builds it (scripts/package.sh), runs lintian on it,
# installs it with apt, starts /usr/bin/talshell under Xvfb as a user with an empty home and takes a
# screenshot once the about box is closed (build/package-check.png), then removes the package again. Needs root (apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh lintian imagemagick xdotool
bash scripts/package.sh
build=${TAL_BUILD_DIR:-build}
deb=$(ls -t "$build"/talshell_*.deb | head -1)
echo "== lintian $deb"
lintian --fail-on error "$deb"
echo "== apt-get install $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb"
home=$(mktemp -d)
shot=$PWD/$build/package-check.png
echo "== /usr/bin/talshell under Xvfb, HOME=$home"
HOME=$home xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  cd "$HOME" && /usr/bin/talshell & program=$!
  sleep 8
  xdotool key Return  # closes the about box; the demo deck opens
  sleep 4
  import -window root "$1"
  kill $program' shot "$shot"
ls "$home/.local/share/talshell" "$home/TALSHELL-demo"
echo "screenshot: $shot"
echo "== apt-get remove talshell"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq talshell
rm -rf "$home"
if dpkg-query -W -f='${Status}' talshell 2>/dev/null | grep -q "ok installed"; then
  echo "talshell is still installed"; exit 1
fi
[ ! -e /usr/share/talshell ] || { echo "/usr/share/talshell was left behind"; exit 1; }
echo "package check passed"
