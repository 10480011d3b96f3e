#!/bin/sh
# sign.sh OSSLSIGNCODE PKCS12 TIME FILE DESCRIPTION
# Gives the program FILE an Authenticode signature made with the key and
# certificate in PKCS12, with no time stamp and TIME (seconds since 1970) as
# its signing time, so that the same program always signs to the same bytes.
# The password, if any, comes from LV_SIGN_PASSWORD and reaches the signer on
# its standard input, never on a command line.
# FILE is replaced only by a complete signed file. When signing fails FILE is
# removed too: nothing unsigned ships in its place, and the next build makes
# it again instead of taking the unsigned one as up to date.
set -u
signer=$1 pkcs12=$2 time=$3 file=$4 description=$5
signed=$file.signed
rm -f "$signed"
sign() {
    "$signer" sign -pkcs12 "$pkcs12" "$@" -h sha256 -n "$description" -time "$time" \
        -in "$file" -out "$signed" 2>&1
}
if [ -n "${LV_SIGN_PASSWORD-}" ]; then
    output=$(printf '%s' "$LV_SIGN_PASSWORD" | sign -readpass /dev/stdin)
else
    output=$(sign </dev/null)
fi && mv -f "$signed" "$file" && exit 0
printf '%s\n' "$output" >&2
rm -f "$signed" "$file"
echo "sign: could not sign $file" >&2
exit 1
