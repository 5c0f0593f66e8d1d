#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: packages already present are not touched, and apt is only asked when something is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

here="$(cd "$(dirname "$0")" && pwd)"
NATIVE_PKGS=(cmake make g++ googletest python3 python3-pil clang clang-14 libclang-rt-14-dev curl)
WIN_PKGS=(g++-mingw-w64-i686-win32 mingw-w64-i686-dev)
X_PKGS=(xvfb xauth xdotool x11-apps imagemagick fonts-wqy-microhei)
# The tests run 32-bit Windows code only where this machine can execute 32-bit x86 code;
# elsewhere they run the 64-bit build under 64-bit Wine.
if [ "$("$here/test-arch.sh")" = i686 ]; then
  WINE_PKGS=(wine wine32:i386)
else
  WINE_PKGS=(wine wine64 g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev)
fi

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
if printf '%s\n' "${missing[@]}" | grep -q ':i386' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index; retry, then install from what was fetched.
for attempt in 1 2 3; do
  if $SUDO apt-get update -qq; then break; fi
  echo "install-deps: apt-get update failed (attempt $attempt)" >&2
  sleep 10
done
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  # A mirror whose i386 security index is mid-sync cannot give 32-bit Wine's libraries at the
  # versions of the 64-bit ones. The tests then run the 64-bit build rather than nothing.
  if [ "$("$here/test-arch.sh")" = i686 ] && [ -z "${VOREL_TEST_ARCH:-}" ]; then
    echo "install-deps: 32-bit Wine cannot be installed now; the Windows tests run the x86_64 build" >&2
    marker="$("$here/test-arch.sh" --marker)"
    mkdir -p "$(dirname "$marker")"
    touch "$marker"
    exec bash "$0"
  fi
  exit 1
fi
