#!/usr/bin/env bash
# Installs what is missing, builds everything once with warnings as errors, assertions on and
# the core and orvane-calc under AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test there: the core's, orvane-calc's, the window's and the install's.
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
# Precompiled headers are cached too when ccache may trust their defines and times.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

# An earlier build folder made by another generator is made again.
if [ -f build-test/CMakeCache.txt ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' build-test/CMakeCache.txt; then
    rm -rf build-test
fi

echo "== build (warnings as errors, assertions on, sanitizers on the core and orvane-calc)"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Check -DORVANE_WERROR=ON \
    -DORVANE_SANITIZE=ON -DORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-test -j"$jobs"
echo "== tests"
(cd build-test && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --timeout 300 -j"$jobs")
