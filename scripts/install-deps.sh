#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: packages already present are not touched, and apt is only asked when something is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

NATIVE_PKGS=(cmake make g++ googletest python3 clang libclang-rt-14-dev)
WIN_PKGS=(g++-mingw-w64-i686-win32 mingw-w64-i686-dev)
WINE_PKGS=(wine wine32:i386)
X_PKGS=(xvfb xauth xdotool x11-apps imagemagick fonts-wqy-microhei)

missing=()
for p in "${NATIVE_PKGS[@]}" "${WIN_PKGS[@]}" "${WINE_PKGS[@]}" "${X_PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
