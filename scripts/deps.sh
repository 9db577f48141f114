#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages. Quick when all is present.
set -euo pipefail

packages=(cmake make g++ googletest clang clang-format libclang-rt-14-dev
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          wine wine32:i386 xvfb imagemagick git zip
          osslsigncode openssl icoutils libxml2-utils)
# Where the kernel runs no 32-bit Linux programs, Wine's 32-bit loader cannot start; the Windows suite then
# runs its 64-bit build under Wine's 64-bit loader.
packages64=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
            mingw-w64-x86-64-dev wine64)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
updated=0

install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    updated=0
  fi
  if [ "$updated" = 0 ]; then
    # A mirror caught mid-sync fails one index (seen: the security suite's i386 list); the others still serve.
    $sudo apt-get update -q || echo "deps: some package indexes could not be fetched; going on with the rest" >&2
    updated=1
  fi
  local install=(env DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends)
  # Without one suite's i386 index, the two architectures of a library get different candidates and apt
  # refuses; taking every candidate from the release's main suite keeps them equal.
  "${install[@]}" "${missing[@]}" || "${install[@]}" -t "$(. /etc/os-release && echo "$VERSION_CODENAME")" "${missing[@]}"
}

install_missing "${packages[@]}"
wine --version >/dev/null 2>&1 || install_missing "${packages64[@]}"
