#!/usr/bin/env bash
# fuzz.sh [SECONDS]: runs every fuzz target for SECONDS (default 60) from its committed seed corpus.
# Findings are written under build/fuzz/findings; the script fails when a target finds one.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j"$(nproc)" >/dev/null
mkdir -p build/fuzz/findings
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  seeds="fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  if "$target" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="build/fuzz/findings/$name-" \
       "$work" >"build/fuzz/$name.log" 2>&1; then
    echo "fuzz $name: ${seconds}s, no finding ($(grep -c . "build/fuzz/$name.log") log lines)"
  else
    echo "fuzz $name: FINDING, see build/fuzz/$name.log"; tail -30 "build/fuzz/$name.log"; status=1
  fi
done
exit $status
