#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvane need, only
# those that are missing, so that running it again costs nothing.
set -euo pipefail

packages=(
    g++ cmake make ninja-build pkg-config
    qt6-base-dev libgl-dev            # Qt 6 Widgets (Gui needs the GL headers)
    qt6-svg-dev                       # pictures saved and copied as SVG
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    ccache                            # a second build of the same sources is free
    libpwizlite-dev libboost-dev      # mzML and mzXML reading; its headers include Boost's
    zlib1g-dev                        # compressed arrays counted before they are decoded
    libisospec++-dev                  # the fine structure of high-resolution profiles
    libcli11-dev nlohmann-json3-dev   # orvane-calc's options and its JSON output
    desktop-file-utils appstream      # the installed menu entry and metainfo are validated
    dpkg-dev file groff-base          # cpack builds the Debian package; the man page is checked
    lintian                           # the Debian package is checked as Debian checks it
    fonts-liberation                  # metric-compatible Arial for the window's texts
    fonts-ipafont-gothic              # Japanese, so that the error texts render
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
