#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Lumetra need.
# Idempotent: asks apt only for what is missing.
set -euo pipefail

packages=(
    g++ make cmake clang-format
    qt6-base-dev qt6-svg-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libeigen3-dev libboost-math-dev nlohmann-json3-dev libcli11-dev
    fonts-liberation2
    poppler-utils
    desktop-file-utils shared-mime-info man-db
    xvfb xauth
    locales
    python3
    clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, so the tests can prove that "." is kept whatever the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
