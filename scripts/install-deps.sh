#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(cmake make g++ python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
          binutils-mingw-w64-x86-64 wine64 xvfb xdotool imagemagick googletest osslsigncode openssl locales)
# The shipped 32-bit programs run under Wine's 32-bit side, their code under
# the emulator (scripts/wine-prefix.sh --32 registers it).
packages+=(qemu-user-static wine32:i386)
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The East Asian code pages the tests run programs in: Wine takes a program's
# code page from LANG, and only for a locale that is generated.
for locale in ja_JP zh_CN ko_KR zh_TW; do
    if ! locale -a 2>/dev/null | grep -qx "$locale.utf8"; then
        sed -i "s/^# *\($locale.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -qx "$locale.UTF-8 UTF-8" /etc/locale.gen || echo "$locale.UTF-8 UTF-8" >>/etc/locale.gen
        generate=1
    fi
done
if [ -n "${generate:-}" ]; then
    locale-gen >/dev/null
fi
