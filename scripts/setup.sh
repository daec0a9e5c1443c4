#!/usr/bin/env bash
# Installs the Debian packages the Linux build needs, when any is missing.
# Run as root on Debian 12. Safe to run again: it installs only what is absent.
set -euo pipefail

# clang and libclang-rt-14-dev: the fuzz targets (libFuzzer); gdb: the stall
# watchdog's stacks of every thread.
packages=(g++ cmake ninja-build pkg-config libyuv-dev googletest libgtest-dev libgmock-dev
          libbenchmark-dev libpng-dev clang libclang-rt-14-dev gdb)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The ActionScript side: Node, Java, and the compiler from npm (cached).
bash "$(dirname "$0")/as3.sh" setup
