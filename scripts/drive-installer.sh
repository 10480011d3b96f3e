#!/usr/bin/env bash
# Runs the walk-through (tools/walkthrough) in the build tree's Wine prefix and
# takes the screenshots it asks for into a folder.
# Usage: drive-installer.sh FOLDER [WALKTHROUGH]   (LV_BUILD, DISPLAY, WINEPREFIX
# set; scripts/wine-session.sh sets them. WALKTHROUGH: the walk-through
# program, by default the one of the 64-bit build's own installer)
set -euo pipefail
shots=$1
walkthrough=$(realpath "${2:-$LV_BUILD/win64/tools/walkthrough/walkthrough.exe}")
mkdir -p "$shots"
rm -f "$shots"/*.png
# The walk-through prints "@@screenshot NAME" and waits for NAME.png to appear.
/usr/lib/wine/wine64 "$walkthrough" --screenshots "Z:$shots" </dev/null | while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in
    "@@screenshot "*)
        name=${line#@@screenshot }
        import -window root "png:$shots/$name.png.part"
        mv "$shots/$name.png.part" "$shots/$name.png"
        echo "screenshot $shots/$name.png"
        ;;
    *) echo "$line" ;;
    esac
done
exit "${PIPESTATUS[0]}"
