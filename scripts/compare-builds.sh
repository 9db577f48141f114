#!/usr/bin/env bash
# compare-builds.sh FIRST SECOND: succeeds when the two builds are byte-identical. Otherwise it says how many
# bytes differ and where the first of them lie (the PE headers, where a link time would sit, or which section),
# and fails.
set -uo pipefail
first=$1 second=$2
objdump=${VEX_OBJDUMP:-i686-w64-mingw32-objdump}
cmp -s "$first" "$second" && exit 0

# The part of FILE that holds file offset OFFSET: "headers" before the first section, a section's name, or
# nothing for a file objdump does not read as PE.
place() {
  local file=$1 offset=$2 index name size vma lma start rest first_start=""
  while read -r index name size vma lma start rest; do
    [[ $index =~ ^[0-9]+$ && $start =~ ^[0-9a-f]+$ ]] || continue
    [ "$((16#$start))" -eq 0 ] && continue  # uninitialised data takes no room in the file
    [ -z "$first_start" ] && first_start=$((16#$start))
    if [ "$offset" -ge "$((16#$start))" ] && [ "$offset" -lt "$((16#$start + 16#$size))" ]; then
      echo "$name"; return
    fi
  done < <("$objdump" -h "$file" 2>/dev/null)
  [ -n "$first_start" ] && [ "$offset" -lt "$first_start" ] && echo "headers"
}

{
  echo "the two builds differ: $first ($(stat -c %s "$first") bytes) and $second ($(stat -c %s "$second") bytes)"
  echo "  $(cmp -l "$first" "$second" 2>/dev/null | wc -l) differing bytes in their common length; the first at:"
  cmp -l "$first" "$second" 2>/dev/null | head -n 8 | while read -r position _ _; do
    printf '    0x%06x %s\n' "$((position - 1))" "$(place "$first" "$((position - 1))")"
  done
} >&2
exit 1
