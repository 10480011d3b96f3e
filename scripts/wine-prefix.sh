#!/usr/bin/env bash
# Makes a Wine prefix of the build tree, once: a marker file says it is
# complete. With --32 it is the prefix of the shipped 32-bit programs, which
# run on Wine's 32-bit side with their code under instruction emulation (this
# machine's kernel runs no 32-bit code): the kernel is told to hand 32-bit
# programs to the emulator, machine-wide until reboot, when it does not yet;
# what cannot be had is named, and the prefix is not made.
# Usage: wine-prefix.sh [--32] PREFIX
set -euo pipefail
need32=
if [ "$1" = --32 ]; then
    need32=1
    shift
fi
prefix=$(realpath -m "$1")
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# The emulator gives 32-bit code this much address space (scripts/wine-session.sh
# and scripts/wine-run.sh set the same): Wine's 32-bit side needs the 2 GB of
# a Windows program and a little above; with the whole 4 GB, Wine would spend
# a minute of each 32-bit program's start probing the part above for room.
# Set for every prefix: with the emulator registered, making even the 64-bit
# one starts 32-bit programs, which without it fail only after a long wait.
export QEMU_RESERVED_VA=0x81000000

if [ -n "$need32" ]; then
    binfmt=/proc/sys/fs/binfmt_misc
    if [ -e $binfmt/qemu-i386 ] && ! grep -qx enabled $binfmt/qemu-i386; then
        { echo 1 >$binfmt/qemu-i386; } 2>/dev/null || true  # registered but switched off
    fi
    if [ ! -e $binfmt/qemu-i386 ] && [ -x /usr/bin/qemu-i386-static ]; then
        [ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null || true
        # 32-bit x86 ELF programs; F: the emulator is opened now, for every mount namespace.
        { echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
            >$binfmt/register; } 2>/dev/null || true
    fi
    missing=
    [ -x /usr/lib/wine/wine ] || missing+=$'\n  '"Wine's 32-bit side, /usr/lib/wine/wine (package wine32:i386; scripts/install-deps.sh)"
    [ -x /usr/bin/qemu-i386-static ] ||
        missing+=$'\n  '"the emulator /usr/bin/qemu-i386-static (package qemu-user-static; scripts/install-deps.sh)"
    grep -qsx enabled $binfmt/qemu-i386 || missing+=$'\n  '"the kernel's hand-over of 32-bit programs to the emulator, $binfmt/qemu-i386 (registered through $binfmt/register as root, with binfmt_misc mounted)"
    mkdir -p "$prefix"
    if [ -n "$missing" ]; then
        echo "The shipped 32-bit programs cannot run here: missing$missing" | tee "$prefix/.installlv-missing" >&2
        exit 1
    fi
    rm -f "$prefix/.installlv-missing"
fi

# Wine links a new prefix's Desktop, Documents and the like to the Linux home,
# which every prefix shares: two prefixes in use at once would see (and
# delete) each other's links. Each gets folders of its own instead; run again
# on every use for prefixes made before this was done.
make_user_folders_private() {
    for folder in "$prefix"/drive_c/users/*/*; do
        if [ -L "$folder" ]; then
            rm -f "$folder"
            mkdir -p "$folder"
        fi
    done
}

if [ -f "$prefix/.installlv-ready" ]; then
    make_user_folders_private
    exit 0
fi
echo "Making the Wine prefix $prefix (once per build tree)..."
mkdir -p "$prefix"
# No Mono or Gecko: the installer needs neither, and there is no network to fetch them.
WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
make_user_folders_private
# Windows stay unmanaged: without a window manager under Xvfb, Wine would
# otherwise wait two seconds for one whenever a window is hidden.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
if [ -n "$need32" ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "The Wine prefix $prefix has no 32-bit side (C:\\windows\\syswow64): Wine's 32-bit programs did not start" |
        tee "$prefix/.installlv-missing" >&2
    exit 1
fi
[ -n "$need32" ] && touch "$prefix/.installlv-32bit"
touch "$prefix/.installlv-ready"
