#!/usr/bin/env bash
# A signed release, made by scripts/release.sh with a throwaway certificate:
# a CA of the test's own issues a code-signing certificate whose key has a
# password. The programs in the zip and the installer verify against that CA
# (and not against another), SHA256SUMS holds the signed files, and the whole
# install test passes on the signed release, with the installed programs and
# the uninstaller verified too. A certificate without its key stops the release.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/harness.sh"
ART=${RIPPLUME_ARTIFACTS:?}/signed_release
rm -rf "$ART"
mkdir -p "$ART/keys" "$ART/zip"
KEYS=$ART/keys
BUILD=$(cd "${RIPPLUME_BIN:?}/../.." && pwd)
RELEASE=$RIPPLUME_SOURCE/scripts/release.sh

# ---- the throwaway certificates ----
ca() {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$KEYS/$1.key" -out "$KEYS/$1.pem" -days 2 \
    -subj "/CN=Ripplume test $1" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign,cRLSign 2>>"$ART/openssl.log"
}
ca ca && ca other_ca
echo "throwaway $$" >"$KEYS/pass"
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$KEYS/signer.ext"
openssl req -newkey rsa:2048 -keyout "$KEYS/signer.key" -passout "file:$KEYS/pass" -out "$KEYS/signer.csr" \
  -subj "/CN=Ripplume test signer" 2>>"$ART/openssl.log"
openssl x509 -req -in "$KEYS/signer.csr" -CA "$KEYS/ca.pem" -CAkey "$KEYS/ca.key" -set_serial 2 -days 2 \
  -extfile "$KEYS/signer.ext" -out "$KEYS/signer.pem" 2>>"$ART/openssl.log"
check "openssl made the throwaway certificates" test -s "$KEYS/signer.pem" -a -s "$KEYS/other_ca.pem"

# ---- half a set-up ----
check "a certificate without its key stops the release" \
  sh -c "! RIPPLUME_SIGN_CERT='$KEYS/signer.pem' RIPPLUME_SIGN_KEY= RIPPLUME_DIST='$ART/half' bash '$RELEASE' >'$ART/half.log' 2>&1"
check "... before it makes anything" test ! -e "$ART/half"

# ---- the signed release ----
export RIPPLUME_SIGN_CERT=$KEYS/signer.pem RIPPLUME_SIGN_KEY=$KEYS/signer.key RIPPLUME_SIGN_PASS_FILE=$KEYS/pass
DIST=$ART/dist
RIPPLUME_BUILD=$BUILD RIPPLUME_DIST=$DIST bash "$RELEASE" >"$ART/release.log" 2>&1
if grep -q "^signed with $RIPPLUME_SIGN_CERT" "$ART/release.log"; then
  echo "ok: release.sh makes a signed release"
else
  fail "release.sh makes a signed release; its output ends:"
  tail -n 5 "$ART/release.log"
  finish_checks
fi
VERSION=$(ls "$DIST" | sed -n 's/^Ripplume-\(.*\)-setup\.exe$/\1/p')
unzip -q -j "$DIST/Ripplume-$VERSION-win32.zip" '*/Ripplume.scr' '*/Ripplume.dll' -d "$ART/zip"
verifies() { osslsigncode verify -CAfile "$1" -in "$2" >>"$ART/verify.log" 2>&1; }
for file in "$DIST/Ripplume-$VERSION-setup.exe" "$ART/zip/Ripplume.scr" "$ART/zip/Ripplume.dll"; do
  check "${file#"$ART"/} verifies against the test CA" verifies "$KEYS/ca.pem" "$file"
  check "... and not against another CA" sh -c "! osslsigncode verify -CAfile '$KEYS/other_ca.pem' -in '$file' >/dev/null 2>&1"
done
check "SHA256SUMS holds the signed installer and zip" sh -c "cd '$DIST' && sha256sum -c --quiet SHA256SUMS"

# ---- installed and run ----
RIPPLUME_DIST=$DIST RIPPLUME_VERIFY_CA=$KEYS/ca.pem RIPPLUME_ARTIFACTS=$ART bash "$here/install_test.sh" >"$ART/install_test.log" 2>&1
status=$?
sed 's/^/  install: /' "$ART/install_test.log"
check "the install test passes on the signed release" test "$status" -eq 0
finish_checks
