#!/usr/bin/env bash
# Installs the Debian packages the builds, the tests, the demo and the
# package (osslsigncode and openssl sign it) need.
# Safe to run again: it installs only what is missing.
set -euo pipefail
here=$(dirname "$0")

need=(cmake ninja-build g++ clang libgtest-dev googletest
      g++-mingw-w64-i686 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
      g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-win32
      wine wine64 fonts-wine xvfb xauth imagemagick python3
      osslsigncode openssl)

# The 32-bit Wine runs the i686 deliverables; it is of use only where the
# kernel runs 32-bit code at all.
if bash "$here/runs-32bit.sh"; then
  need+=(wine32:i386)
  runs_32bit=1
else
  echo "install-packages: this machine runs no 32-bit code; wine32 is left out"
  runs_32bit=0
fi

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-packages: missing ${missing[*]}; run as root (or install them) first" >&2
  exit 1
fi
echo "install-packages: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$runs_32bit" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
