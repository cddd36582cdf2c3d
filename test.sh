#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test;
# then builds the core and orvane-calc again under AddressSanitizer and
# UndefinedBehaviorSanitizer, with assertions on, and runs their tests there too.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install_dependencies.sh python3 locales

# A comma-decimal locale, so that the number reading is also tested under one.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "de_DE.UTF-8 UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen >/dev/null
fi

jobs=2
# Paths relative to the clone, so that another clone of the same commit hits the cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true

echo "== build (warnings as errors)"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DORVANE_WERROR=ON \
    -DORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-test -j"$jobs"
echo "== tests"
(cd build-test && ctest --output-on-failure -j"$jobs")

echo "== core and orvane-calc tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Check -DORVANE_WERROR=ON \
    -DORVANE_SANITIZE=ON -DORVANE_BUILD_APP=OFF -DORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$jobs" -L 'core|cli')
