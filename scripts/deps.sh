#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing).
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          zlib1g-dev libminizip-dev libbz2-dev liblzma-dev libcurl4-openssl-dev libcpp-httplib-dev libssl-dev libpugixml-dev libdeflate-dev
          libcairo2-dev libpango1.0-dev libx11-dev libxext-dev fonts-dejavu-core xvfb x11-apps pkgconf
          libmspack-dev libarchive-dev 7zip unzip zip python3 python3-pyftpdlib xdotool libarchive-tools gcab cabextract unar linux-doc
          openbox wmctrl x11-utils x11-xkb-utils liblitehtml-dev libgumbo-dev duktape-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
    exit 1
  fi
  apt-get update -qq
  # The manual pages' index is not rebuilt after each package: it only costs the install time.
  if command -v debconf-set-selections >/dev/null; then
    echo 'man-db man-db/auto-update boolean false' | debconf-set-selections
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
