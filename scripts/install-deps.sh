#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing: those to build and run the program, and with
# the argument "test" also those the test suite uses and the users' locales it runs under. Works
# as root or through sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libgl-dev
    fonts-liberation fonts-dejavu-core qt6-translations-l10n
)
if [[ "${1:-}" == "test" ]]; then
    packages+=(
        xauth xvfb imagemagick libwmf-bin
        clang libclang-rt-14-dev libbenchmark-dev
        desktop-file-utils appstream dpkg-dev file librsvg2-bin lintian locales
        ngspice xdg-utils libfile-mimeinfo-perl
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
as_root=()
[[ $EUID -ne 0 ]] && as_root=(sudo)
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# The tests run under the comma locales of the users (Russian) and of a second language.
if [[ "${1:-}" == "test" ]]; then
    for locale in ru_RU de_DE; do
        if ! locale -a | grep -qx "$locale.utf8"; then
            echo "Making the locale $locale.UTF-8"
            "${as_root[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
        fi
    done
fi
