#!/usr/bin/env bash
# signed_release_test.sh: the release signed with a throwaway self-signed certificate made for this run (it
# never leaves a temporary folder): the signature verifies over the program's SHA-256 digest, removing it gives
# back the unsigned, reproducible program byte for byte, and SHA256SUMS and the zip hold both programs.
set -uo pipefail
cd "$(dirname "$0")/../.."
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
fail() { echo "signed release: $*"; failed=1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vexilor release test" \
  -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null || { echo "signed release: no test certificate"; exit 1; }
scripts/release.sh --sign "$dir/cert.pem" "$dir/key.pem" || { echo "signed release: release.sh failed"; exit 1; }

out=build/release
said=$(osslsigncode verify -CAfile "$dir/cert.pem" -in "$out/vexilor-signed.exe" 2>&1) ||
  fail "the signature does not verify: $said"
grep -q '^Message digest algorithm *: SHA256' <<<"$said" || fail "not signed over a SHA-256 digest"
calculated=$(sed -n 's/^Calculated message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$said")
[ -n "$calculated" ] && grep -q "^Current message digest *: *$calculated" <<<"$said" ||
  fail "the signed digest is not the program's"
osslsigncode remove-signature -in "$out/vexilor-signed.exe" -out "$dir/unsigned.exe" >/dev/null &&
  cmp "$dir/unsigned.exe" "$out/vexilor.exe" || fail "without its signature the program is not the unsigned build"
( cd "$out" && sha256sum --quiet -c SHA256SUMS ) || fail "SHA256SUMS does not match"
grep -q ' vexilor-signed.exe$' "$out/SHA256SUMS" || fail "SHA256SUMS leaves out the signed program"
[ "$(unzip -Z1 "$out/vexilor-1.0.zip" | tr '\n' ' ')" = "vexilor.exe vexilor-signed.exe README.txt SHA256SUMS " ] ||
  fail "the zip does not hold both programs, the read-me and the checksums"

[ $failed -eq 0 ] && echo "signed release: signature verifies; unsigned form is the reproducible build"
exit $failed
