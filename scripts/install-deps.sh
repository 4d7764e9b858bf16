#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, as root
# (through sudo when run as another user).
# Only packages that are missing are fetched, so a second run is quick.
set -euo pipefail

packages=(cmake ninja-build g++ googletest python3
          g++-mingw-w64-x86-64-posix wine64 xvfb xdotool imagemagick
          fonts-dejavu-core fonts-wqy-microhei fonts-symbola x11-xserver-utils xauth clang-format nsis lua5.4 time
          # The link's cryptography (X25519, ChaCha20-Poly1305, SHA-256):
          # GnuPG's library, natively and for the exe.
          libgcrypt20-dev libgcrypt-mingw-w64-dev
          # The fuzzers: clang, and its sanitizer and libFuzzer runtimes,
          # which clang only recommends.
          clang-14 libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    as_root=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "Run this as root: bash $0" >&2; exit 1; }
        as_root=(sudo)
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
