#!/usr/bin/env bash
# Installs what is missing, builds everything once with warnings as errors, assertions on and
# the core and orvane-calc under AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test there: the core's, orvane-calc's, the window's and the install's.
set -euo pipefail
cd "$(dirname "$0")"
# clang 14 and its libFuzzer runtime: the fuzz harnesses are built with the compiler the
# README's fuzzing instructions name, so that they keep building with it
./tools/install_dependencies.sh python3 locales clang-14 libclang-rt-14-dev

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
# Only the harnesses and the layers they link, instrumented as a fuzzing build is; not run
# here (their corpora are replayed by the tests above), and cached by ccache like the rest.
echo "== fuzz harnesses (clang 14, built only)"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Check \
    -DORVANE_FUZZ=ON -DORVANE_BUILD_BENCH=OFF >/dev/null
mapfile -t fuzzers < <(ninja -C build-fuzz -t targets all |
    sed -n 's|^tests/fuzz/\(orvane_fuzz_[a-z_]*\):.*|\1|p' | grep -v '^orvane_fuzz_replay_' | sort -u)
cmake --build build-fuzz -j"$jobs" --target "${fuzzers[@]}"
echo "== tests"
(cd build-test && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --timeout 300 -j"$jobs")
