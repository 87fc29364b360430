#!/usr/bin/env bash
# Installs what is missing, builds the program with its tests and runs the whole suite, then
# builds and runs it again with the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh test

# The suites run where the users are: the Release one under Russian, the sanitizer one under
# German, both with a decimal comma. Nothing else of the caller's locale may override LANG.
unset LANGUAGE $(compgen -e | grep '^LC_' || true)

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/test
LANG=ru_RU.UTF-8 ctest --test-dir build/test --output-on-failure --timeout 600

# The suite once more under AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer,
# all but the package check; the fuzzers carry both sanitizers already and are left out.
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DOOSCALC_SANITIZE=ON -DOOSCALC_BENCHMARKS=OFF
cmake --build build/sanitize
LANG=de_DE.UTF-8 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure --timeout 600 -E '^install_package$'
