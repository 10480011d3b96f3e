#!/usr/bin/env bash
# The installer signed after it was built, as a release signs it: it still
# passes its own start-up check, and installs.
# Usage: signed_install.sh INSTALLER SEAL PREFIX DRIVER WORK
#   INSTALLER  the program to sign a copy of; SEAL  the seal tool;
#   PREFIX, DRIVER  the Wine prefix and the end-to-end driver to install with
set -euo pipefail
installer=$1 seal=$2 prefix=$3 driver=$4
work=$(realpath -m "$5")
root=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout signer.key -out signer.pem -days 2 \
    -subj "/CN=InstallLV signed install test" -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -in signer.pem -inkey signer.key -out signer.p12 -passout pass:
cp "$installer" InstallLV.exe
sh "$root/tools/seal/sign.sh" "$(command -v osslsigncode)" signer.p12 "$(date +%s)" InstallLV.exe "InstallLV test"
osslsigncode verify -CAfile signer.pem -in InstallLV.exe >verify.log 2>&1 || { cat verify.log; exit 1; }
"$seal" check InstallLV.exe
LV_INSTALLER_UNDER_TEST="Z:$work/InstallLV.exe" "$root/scripts/wine-run.sh" "$prefix" "$driver" fresh_install
