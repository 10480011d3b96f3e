#!/usr/bin/env bash
# Runs one scenario of the end-to-end driver (tests/e2e) in the build tree's
# Wine prefix and takes the screenshots it asks for into a folder.
# Usage: drive-installer.sh SCENARIO FOLDER   (LV_BUILD, DISPLAY, WINEPREFIX set;
# scripts/wine-session.sh sets them)
set -euo pipefail
scenario=$1 shots=$2
driver=$(realpath "$LV_BUILD/win64/tests/e2e/e2e_driver.exe")
mkdir -p "$shots"
rm -f "$shots"/*.png
# The driver prints "@@screenshot NAME" and waits for NAME.png to appear.
/usr/lib/wine/wine64 "$driver" "$scenario" --screenshots "Z:$shots" </dev/null | while IFS= read -r line; do
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
