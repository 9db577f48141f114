#!/usr/bin/env bash
# Builds every configuration and runs every test: the native suite (plain and with AddressSanitizer and
# UndefinedBehaviorSanitizer), the fuzz targets over their seed corpora, the release's reproducibility and
# signing checks, and the Windows suite under Wine in sandbox prefixes, each under a virtual display of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

. scripts/sandbox.sh  # decides whether this machine's Wine runs 32-bit programs

jobs=$(nproc)
presets=(native native-asan fuzz win32)
[ "$VEX_WINE_BITS" = 64 ] && presets+=(win64)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j"$jobs"
done

scripts/check-format.sh
ctest --test-dir build/native --output-on-failure -j"$jobs"
ctest --test-dir build/native-asan --output-on-failure -j"$jobs"
scripts/fuzz.sh 5
# Reproducibility: two clean builds of the program in two folders are byte-identical (scripts/release.sh,
# under a minute), the release signed with a throwaway certificate is that program once its signature is
# removed, and the program the Windows suite tests below is that same file.
tests/release/signed_release_test.sh
scripts/compare-builds.sh build/win32/vexilor.exe build/release/vexilor.exe
echo "release check: build/win32/vexilor.exe is the released file"
# The Windows suite prints its GoogleTest output too. Each of its tests starts its own virtual display.
if [ "$VEX_WINE_BITS" = 32 ]; then
  ctest --test-dir build/win32 --verbose -j"$jobs"
  exit
fi
# Wine's 32-bit loader is a 32-bit Linux program, and some kernels (virtual machines among them) run none.
# There the same Windows suite, built for 64-bit Windows, runs under Wine's 64-bit loader in 64-bit prefixes;
# the 32-bit program is still built and its imports checked.
if ! /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  echo "wine cannot start on this machine, neither its 32-bit nor its 64-bit loader" >&2
  exit 1
fi
note="this machine cannot run 32-bit Linux programs: the Windows suite runs its 64-bit build"
echo "note: $note"
ctest --test-dir build/win32 --output-on-failure -R '^imports$'
ctest --test-dir build/win64 --verbose -j"$jobs" -E '^imports$'
echo "note: $note"
