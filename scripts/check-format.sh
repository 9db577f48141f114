#!/usr/bin/env bash
# check-format.sh: fails, naming each file, when a C++ source does not follow .clang-format. Run
# `clang-format -i FILE` to bring a file into line.
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'not formatted as .clang-format says: %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "format check: every C++ source follows .clang-format"
