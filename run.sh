#!/usr/bin/env bash
# Builds Orvane (installing what is missing) and starts it with share/orvane, which holds
# the shipped elem.txt and abundances.txt, as its data directory.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install_dependencies.sh
# Warnings fail ./test.sh, not a user's build with another compiler.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANE_WERROR=OFF -DORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build -j2 --target orvane
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display found; on a machine without one, try: xvfb-run ./run.sh" >&2
    exit 1
fi
cd share/orvane
exec ../../build/src/app/orvane "$@"
