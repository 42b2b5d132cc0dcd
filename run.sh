#!/usr/bin/env bash
# Installs what is missing, builds the desktop program and starts it.
# Arguments go to the program: -D (extended mode), -M (manufacture mode,
# asks for the password) or a data file to open.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
rk54_install_deps

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target RK54Win
exec build/bin/RK54Win "$@"
