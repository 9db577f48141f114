#!/usr/bin/env bash
# Builds every configuration and runs every test: the native suite (plain and with AddressSanitizer and
# UndefinedBehaviorSanitizer), the fuzz targets over their seed corpora, and the Windows suite under Wine in
# sandbox prefixes, under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=$(nproc)
for preset in native native-asan fuzz win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j"$jobs"
done

ctest --test-dir build/native --output-on-failure -j"$jobs"
ctest --test-dir build/native-asan --output-on-failure -j"$jobs"
scripts/fuzz.sh 5
# Wine's loader is a 32-bit Linux program; on a kernel that cannot run those, every Windows test would fail
# with an obscure "Exec format error", so say so plainly.
if ! wine --version >/dev/null 2>&1; then
  echo "wine cannot start on this machine: $(wine --version 2>&1 | tail -n 1)" >&2
  echo "the Windows suite needs a kernel that runs 32-bit Linux programs" >&2
  exit 1
fi
# The Windows suite prints its GoogleTest output too.
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build/win32 --verbose -j"$jobs"
