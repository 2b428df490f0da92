#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need, and only those missing.
# Safe to run again and again: with everything present it does nothing but look.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fontconfig
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Wait for another package manager run to finish instead of failing on its lock.
lock=(-o DPkg::Lock::Timeout=900)
"${sudo[@]}" apt-get "${lock[@]}" update -qq
"${sudo[@]}" apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
