#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it in the home folder, as the
# desktop menu does: "Сохранить" writes its files into the folder the program runs in, and the
# checkout is no place for them.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DOOSCALC_BENCHMARKS=OFF
cmake --build build/release
program=$PWD/build/release/ooscalc
cd "$HOME"
exec "$program" "$@"
