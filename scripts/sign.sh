#!/usr/bin/env bash
# sign.sh FILE...: signs Windows programs in place (Authenticode, SHA-256)
# with osslsigncode. scripts/release.sh runs it on the programs, and NSIS on
# the uninstaller and the installer as it makes them.
#   RIPPLUME_SIGN_CERT       the code-signing certificate, PEM (the chain up
#                            to the root may follow it in the same file) or DER
#   RIPPLUME_SIGN_KEY        its private key, PEM or DER
#   RIPPLUME_SIGN_PASS_FILE  optional: a file holding the key's password
#   RIPPLUME_SIGN_TIMESTAMP  optional: an RFC 3161 time-stamp server's URL; a
#                            time-stamped signature stays valid after the
#                            certificate expires
set -euo pipefail
options=(-certs "${RIPPLUME_SIGN_CERT:?}" -key "${RIPPLUME_SIGN_KEY:?}" -h sha256 -n Ripplume)
if [ -n "${RIPPLUME_SIGN_PASS_FILE:-}" ]; then options+=(-readpass "$RIPPLUME_SIGN_PASS_FILE"); fi
if [ -n "${RIPPLUME_SIGN_TIMESTAMP:-}" ]; then options+=(-ts "$RIPPLUME_SIGN_TIMESTAMP"); fi
for file in "$@"; do
  rm -f "$file.signed"
  osslsigncode sign "${options[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
done
