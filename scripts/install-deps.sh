#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing: those to build and run the program, and with
# the argument "test" also those the test suite uses. Works as root or through sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libgl-dev
    fonts-liberation fonts-dejavu-core
)
if [[ "${1:-}" == "test" ]]; then
    packages+=(
        xauth xvfb imagemagick libwmf-bin
        clang libclang-rt-14-dev libbenchmark-dev
        desktop-file-utils appstream dpkg-dev file librsvg2-bin lintian
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $EUID -ne 0 ]] && as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
