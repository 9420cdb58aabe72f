#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then builds the
# unit tests again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=2
export QT_QPA_PLATFORM=offscreen

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== tests"
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 300

echo "== build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DML472_SANITIZE=ON -DML472_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
echo "== unit tests under the sanitizers"
# Qt's own plugins leak a little at exit; leaks of ours would show in the counts
# of the tests themselves, so leak checking stays off here.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 600 -LE e2e
