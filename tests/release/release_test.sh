#!/usr/bin/env bash
# The release build, scripts/release.sh, in a work folder of its own.
#   release_test.sh reproducible WORK BUILT
#       a release from a copy of these sources in another folder, built after
#       the build tree BUILT (a build takes the better part of a minute, so
#       their link times differ): every shipped and payload file the same as
#       that tree's
#   release_test.sh signed WORK
#       with a throw-away certificate: the installer and both payload
#       programs verify, with the given signing time; a new signing time with
#       a wrong password stops the release with the signer's message and
#       leaves neither program nor release behind; the right one again signs
#       all three, the payload programs before they are compressed, and the
#       signed installer passes its own start-up check
set -euo pipefail
mode=$1
work=$(realpath -m "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
unset LV_SIGN_PKCS12 LV_SIGN_PASSWORD

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

release() {  # SOURCE BUILD LOG
    "$1/scripts/release.sh" "$2" >"$3" 2>&1
}

payload=(Lumivane.exe Uninstall.exe Lumivane.hlp Lumivane.txt)
programs=(release/InstallLV.exe win32/payload/lumivane/Lumivane.exe win32/payload/uninstall/Uninstall.exe)

case $mode in
reproducible)
    built=$(realpath -e "$3")
    # The copy leaves out version control and every build tree (this one too).
    mkdir "$work/source"
    tar -C "$root" --exclude-vcs --exclude-tag-all=CMakeCache.txt -cf - . | tar -C "$work/source" -xf -
    release "$work/source" "$work/b" "$work/b.log" || { cat "$work/b.log"; fail "release b"; }
    cmp "$built/win32/InstallLV.exe" "$work/b/release/InstallLV.exe" || differ=1
    files=("${programs[@]:1}" win32/payload/Lumivane.hlp win32/payload/Lumivane.txt)
    for name in "${payload[@]}"; do
        files+=("win32/payload/$name.msz" "win32/payload/$name.msz.crc")
    done
    for file in "${files[@]}"; do
        cmp "$built/$file" "$work/b/$file" || differ=1
    done
    [ "${differ:-0}" = 0 ] || fail "two builds of the same sources differ"
    (cd "$work/b/release" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match the release"
    ;;
signed)
    cd "$work"
    export LV_SIGN_PKCS12=$work/signer.p12
    openssl req -x509 -newkey rsa:2048 -nodes -keyout signer.key -out signer.pem -days 2 \
        -subj "/CN=InstallLV release test" -addext extendedKeyUsage=codeSigning 2>/dev/null
    LV_SIGN_PASSWORD="throw away" openssl pkcs12 -export -in signer.pem -inkey signer.key \
        -out "$LV_SIGN_PKCS12" -passout env:LV_SIGN_PASSWORD
    # Signing times within the certificate's validity.
    export SOURCE_DATE_EPOCH=$(date +%s)
    check_signatures() {
        local signing_time="Signing time: $(LC_ALL=C date -u -d "@$SOURCE_DATE_EPOCH" '+%b %e %H:%M:%S %Y') GMT"
        for program in "${programs[@]}"; do
            osslsigncode verify -CAfile signer.pem -in "build/$program" >verify.log 2>&1 ||
                { cat verify.log; fail "$program: the signature does not verify"; }
            grep -qF "$signing_time" verify.log || { cat verify.log; fail "$program: not $signing_time"; }
        done
    }
    LV_SIGN_PASSWORD="throw away" release "$root" build signed.log || { cat signed.log; fail "signed release"; }
    check_signatures

    # Another signing time signs everything anew: with a wrong password that
    # stops, and nothing of the earlier release or of this one is left.
    SOURCE_DATE_EPOCH=$((SOURCE_DATE_EPOCH + 60))
    LV_SIGN_PASSWORD=wrong release "$root" build wrong.log && fail "a wrong password did not stop the release"
    grep -q "PKCS#12" wrong.log || { cat wrong.log; fail "the signer's message is missing"; }
    [ ! -e build/win32/payload/lumivane/Lumivane.exe ] || fail "an unsigned Lumivane.exe is left in place"
    [ -z "$(find build/win32 -name '*.signed')" ] || fail "a partly signed file is left behind"
    [ ! -e build/release ] || fail "a failed release left the earlier release in place"

    LV_SIGN_PASSWORD="throw away" release "$root" build signed.log || { cat signed.log; fail "signed release"; }
    check_signatures
    for program in lumivane/Lumivane.exe uninstall/Uninstall.exe; do
        build/bin/szdd -d "build/win32/payload/${program#*/}.msz" expanded
        cmp -s expanded "build/win32/payload/$program" || fail "the payload carries ${program#*/} unsigned"
    done
    build/bin/seal check build/release/InstallLV.exe || fail "the signed installer fails its own check"
    # The check can fail: one byte changed inside the signed program.
    cp build/release/InstallLV.exe damaged.exe
    byte=$(od -An -tu1 -j4096 -N1 damaged.exe)
    printf "\\$(printf %03o $(((byte + 1) % 256)))" | dd of=damaged.exe bs=1 seek=4096 conv=notrunc status=none
    cmp -s damaged.exe build/release/InstallLV.exe && fail "the damage did not change the file"
    ! build/bin/seal check damaged.exe 2>/dev/null || fail "a damaged installer passes the check"
    ;;
*)
    fail "usage: release_test.sh reproducible|signed WORK"
    ;;
esac
echo "release $mode: ok"
