#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/rk54win_<version>_<arch>.deb. Install it with
#   sudo apt-get install ./build/rk54win_*.deb
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
rk54_install_deps

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRK54_GUI=ON >/dev/null
cmake --build build -j "$(nproc)"
cmake --build build --target package
ls build/rk54win_*.deb
