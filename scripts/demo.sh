#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program against the built-in
# simulated meter.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target ml472 ml472-sim
exec ./build/src/ml472 --demo "$@"
