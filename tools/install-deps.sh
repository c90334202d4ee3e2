#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing;
# with "screenshots", those that tools/screenshots.sh needs besides.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libjpeg62-turbo-dev libcurl4-openssl-dev libssl-dev
    python3-pyftpdlib python3-openssl python3-asyncssh xvfb xauth lftp
    qtkeychain-qt6-dev gnome-keyring dbus openssh-client
    clang libclang-rt-14-dev
    dpkg-dev ccache
)
if [ "${1:-}" = screenshots ]; then
    packages=(xvfb xauth xdotool openbox imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
