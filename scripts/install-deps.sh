#!/usr/bin/env bash
# Installs what the build needs (Debian packages), only where missing. Safe to run again.
set -euo pipefail
needed=(cmake g++ ninja-build libgtest-dev libgmock-dev libembree-dev libbenchmark-dev libassimp-dev libtiff-dev libcairo2-dev)
missing=()
for p in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi
