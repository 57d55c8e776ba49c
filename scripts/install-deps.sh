#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, when any is missing.
# Further package names given as arguments are installed too (the tests' own, for instance).
set -euo pipefail
packages=(build-essential cmake ccache qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libgtest-dev googletest
          libbenchmark-dev libwmf-dev fonts-liberation poppler-utils xvfb xauth locales
          # Needed at run time but only recommended by the libraries, which are installed without
          # recommends: libwmf draws the text of metafiles with the URW base fonts.
          fonts-urw-base35
          # The window programs' platform plugins (a dependency of qt6-base-dev, named for the program).
          qt6-qpa-plugins
          # The Debian package: dpkg-shlibdeps finds its library dependencies; the tests check the
          # desktop entries and the AppStream description.
          dpkg-dev appstream desktop-file-utils
          # Command lines of talbatch and talpix-sample.
          libcli11-dev
          "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
