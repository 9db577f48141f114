#!/usr/bin/env bash
# release.sh: builds the 32-bit program twice, each time from a fresh copy of the tree in its own folder (the
# second one deeper, some seconds later, under another time zone, umask and SOURCE_DATE_EPOCH), fails unless
# the two are byte-identical, and writes build/release/: vexilor.exe, README.txt for end users, SHA256SUMS
# and vexilor-1.0.zip holding those three. The zip's entries carry the commit's date and a fixed order, so the
# zip is reproducible too. The copies hold the files git tracks or would track (what a clean clone holds, plus
# files not yet added), so a working tree's release and its build/win32 program agree. Needs no Wine.
#
#   scripts/release.sh [--sign CERT KEY] [--timestamp URL]
#
# With a certificate and its key (PEM or DER; also VEX_SIGN_CERT and VEX_SIGN_KEY, VEX_SIGN_TIMESTAMP for the
# URL of an RFC 3161 time-stamping service, VEX_SIGN_PASSWORD_FILE for an encrypted key) it also writes
# vexilor-signed.exe: the same program with an Authenticode signature over its SHA-256 digest. vexilor.exe
# stays the unsigned, reproducible one, and the release fails unless removing the signature gives it back
# byte for byte. No certificate or key is ever copied into the tree or the release.
set -euo pipefail

usage() { echo "usage: $0 [--sign CERT KEY] [--timestamp URL]" >&2; exit 2; }
cert=${VEX_SIGN_CERT:-} key=${VEX_SIGN_KEY:-} timestamp=${VEX_SIGN_TIMESTAMP:-}
password=${VEX_SIGN_PASSWORD_FILE:-}
while [ $# -gt 0 ]; do
  case $1 in
    --sign) [ $# -ge 3 ] || usage; cert=$2 key=$3; shift 3 ;;
    --timestamp) [ $# -ge 2 ] || usage; timestamp=$2; shift 2 ;;
    *) usage ;;
  esac
done
if [ -n "$cert$key" ]; then
  [ -f "$cert" ] && [ -f "$key" ] || { echo "release: no certificate '$cert' or key '$key'" >&2; exit 2; }
  cert=$(realpath "$cert") key=$(realpath "$key")
  [ -z "$password" ] || password=$(realpath "$password")
fi
cd "$(dirname "$0")/.."
scripts/deps.sh

work=build/release-work
out=build/release
copies=("$work/one/vexilor" "$work/the-second/copy/lies/deeper/vexilor")
rm -rf "$work" "$out"

copy_tree() {  # copy_tree DEST
  mkdir -p "$1"
  git ls-files -z --cached --others --exclude-standard --deduplicate |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$1"
}

build_copy() {  # build_copy DIR: the program alone, as the win32 preset builds it
  ( cd "$1" && cmake --preset win32 >/dev/null && cmake --build build/win32 --target vexilor -j"$(nproc)" >/dev/null )
}

copy_tree "${copies[0]}"
( unset SOURCE_DATE_EPOCH; build_copy "${copies[0]}" )
copy_tree "${copies[1]}"
( umask 077; export TZ=Pacific/Kiritimati SOURCE_DATE_EPOCH=1000000000; build_copy "${copies[1]}" )

builds=("${copies[0]}/build/win32/vexilor.exe" "${copies[1]}/build/win32/vexilor.exe")
for i in 0 1; do
  echo "build $((i + 1)): $(sha256sum "${builds[$i]}" | cut -d' ' -f1)  ${builds[$i]}"
done
scripts/compare-builds.sh "${builds[0]}" "${builds[1]}"

commit=$(git rev-parse HEAD)
[ -n "$(git status --porcelain)" ] && commit="$commit (with changes not yet committed)"
mkdir -p "$out"
cp "${builds[0]}" "$out/vexilor.exe"
# Notepad on Windows 98 and XP shows lines only with carriage returns.
sed -e "s/@COMMIT@/$commit/" -e 's/$/\r/' docs/release-readme.txt >"$out/README.txt"
programs=(vexilor.exe)
if [ -n "$cert" ]; then
  sign=(osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n "Vexilor Ver 1.0")
  [ -z "$password" ] || sign+=(-readpass "$password")
  [ -z "$timestamp" ] || sign+=(-ts "$timestamp")
  "${sign[@]}" -in "$out/vexilor.exe" -out "$out/vexilor-signed.exe" >/dev/null
  # Anyone can check that the signed program is the source's build: this is the test they would run.
  osslsigncode remove-signature -in "$out/vexilor-signed.exe" -out "$work/unsigned.exe" >/dev/null
  cmp -s "$work/unsigned.exe" "$out/vexilor.exe" ||
    { echo "release: the signed program without its signature is not the reproducible build" >&2; exit 1; }
  programs+=(vexilor-signed.exe)
fi
( cd "$out" && sha256sum "${programs[@]}" README.txt >SHA256SUMS )
rm -rf "$work"

# Fixed modes, dates and order; -X leaves out the owner and time extra fields. Zip stores local times.
files=("${programs[@]}" README.txt SHA256SUMS)
date=$(git log -1 --format=%cI)
( cd "$out"
  chmod 644 "${files[@]}"
  TZ=UTC touch -d "$date" "${files[@]}"
  TZ=UTC zip -X -D -q vexilor-1.0.zip "${files[@]}" )
echo "release: $out/ ${files[*]}"
echo "zip:     $(sha256sum "$out/vexilor-1.0.zip" | cut -d' ' -f1)  $out/vexilor-1.0.zip"
