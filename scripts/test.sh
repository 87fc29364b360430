#!/usr/bin/env bash
# Installs what is missing, builds the program with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/test
ctest --test-dir build/test --output-on-failure --timeout 600
