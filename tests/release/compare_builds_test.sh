#!/usr/bin/env bash
# compare_builds_test.sh COMPARE SAMPLEGEN: the release's check of its two builds, fed a PE file and copies of
# it: an equal copy passes; a copy with another link time in its PE header, and one a byte longer, fail.
set -uo pipefail
compare=$1 samplegen=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0

expect() {  # expect WANTED-EXIT TEXT SECOND: compares $dir/built.exe with SECOND
  local wanted=$1 text=$2 second=$3 said code
  said=$("$compare" "$dir/built.exe" "$second" 2>&1)
  code=$?
  if [ "$code" != "$wanted" ] || [[ $said != *"$text"* ]]; then
    echo "FAILED: against $(basename "$second"): exit $code (wanted $wanted), said:"
    echo "$said"
    failed=1
  fi
}

"$samplegen" --row 1 "$dir/built.exe" >/dev/null || { echo "setup: no sample"; exit 1; }
cp "$dir/built.exe" "$dir/same.exe"
cp "$dir/built.exe" "$dir/stamped.exe"
# The sample's PE header starts at 0x80, so its link time is at 0x88.
printf '\x5f' | dd of="$dir/stamped.exe" bs=1 seek=$((0x88)) conv=notrunc status=none
cp "$dir/built.exe" "$dir/longer.exe"
printf '\0' >>"$dir/longer.exe"

expect 0 "" "$dir/same.exe"
expect 1 "0x000088 headers" "$dir/stamped.exe"
expect 1 "bytes) and $dir/longer.exe ($(( $(stat -c %s "$dir/built.exe") + 1 )) bytes)" "$dir/longer.exe"
[ "$failed" = 0 ] && echo "compare-builds: 3 cases passed"
exit "$failed"
