#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, test and benchmark the plug-in.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config git python3
  libgtest-dev libgmock-dev libbenchmark-dev
  juce-modules-source
  libflac-dev libvorbis-dev libogg-dev
  libexpat1-dev zlib1g-dev
  clang libclang-rt-dev  # the fuzz harnesses (libFuzzer)
  locales  # locale sources: a UI test builds a Turkish locale
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
