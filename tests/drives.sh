#!/usr/bin/env bash
# Drive letters of the tests' own in the build tree's Wine prefix, so that no
# test touches the prefix's C: drive.
#   T:  a directory of the build tree: plenty of room
#   S:  a 256 KB file system: less than the 400,000 bytes an installation asks for
#   G:  a 1 MB file system: room for an installation, until a test fills it
# Usage: drives.sh setup|cleanup PREFIX DIR
set -euo pipefail
action=$1 prefix=$2 dir=$3

mount_small() {  # mount_small LETTER SIZE
    local path="$dir/$1"
    mkdir -p "$path"
    mountpoint -q "$path" || mount -t tmpfs -o "size=$2" tmpfs "$path"
    rm -rf "${path:?}"/*
    ln -sfn "$path" "$prefix/dosdevices/$1:"
}

case $action in
setup)
    mkdir -p "$dir/t"
    rm -rf "${dir:?}/t"/*
    ln -sfn "$dir/t" "$prefix/dosdevices/t:"
    mount_small s 256k
    mount_small g 1m
    ;;
cleanup)
    for letter in s g; do
        mountpoint -q "$dir/$letter" && umount "$dir/$letter"
        rm -f "$prefix/dosdevices/$letter:"
    done
    rm -f "$prefix/dosdevices/t:"
    ;;
esac
