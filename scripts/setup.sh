#!/bin/sh
# Installs every Debian package the build, the tests and the demo need.
set -eu
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES="build-essential cmake pkg-config git ca-certificates
  liblog4cxx-dev nlohmann-json3-dev libmicrohttpd-dev libpugixml-dev
  openssl googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev sblim-wbemcli curl
  libnl-route-3-dev iproute2 ccache"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
