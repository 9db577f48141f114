#!/usr/bin/env bash
# restart-test.sh VERSION TESTEXE: the restart from end to end, in a sandbox prefix of its own (a restart ends
# every process of its prefix). The test program's end-to-end test holds an infected sample open, so the scan
# cannot delete it and schedules it for the next start (win98: wininit.ini; NT: a pending delayed move), and
# answers Yes to the restart question. Its process must not survive that, and the prefix's next start must
# delete the sample. Wine's reboot request may run that start itself once the processes are gone; the script
# starts the prefix once more with `wineboot -r`, as the next boot would, before it looks.
set -uo pipefail
. "$(dirname "$0")/sandbox.sh"
version=$1 exe=$2
pfx="$VEX_WINE_DIR/restart-$version-$$"
folder="$pfx/drive_c/vexrestart"

fail() { echo "restart-test $version: $*" >&2; exit 1; }

vex_session "$pfx" "$version" || exit 1
output=$(vex_run_exe "$pfx" "$exe" --gtest_also_run_disabled_tests \
           --gtest_filter='RestartEndToEnd.DISABLED_YesToTheRestartQuestionEndsTheSession' 2>&1)
echo "$output"
vex_wine_in "$pfx" wineboot -r >/dev/null 2>&1
vex_stop_prefix "$pfx"

grep -q '^\[ RUN      \] RestartEndToEnd' <<<"$output" || fail "the end-to-end test did not start"
grep -qE '^\[  (FAILED|PASSED)  \]' <<<"$output" && fail "the test program outlived the restart"
grep -q '^C:\\vexrestart\\held\.exe     .* Unable to remove' "$folder/results.txt" 2>/dev/null ||
  fail "the scan did not leave the held sample for the next start"
[ -e "$folder/held.exe" ] && fail "the sample survived the restart"
case $version in
  # The start-up processing renames the processed file.
  win98) grep -qi '^NUL=C:\\VEXR[^\\]*\\HELD\.EXE' "$pfx/drive_c/windows/wininit.bak" ||
           fail "the sample did not go through wininit.ini" ;;
  *) grep -qi 'PendingFileRenameOperations' "$pfx/system.reg" && fail "a delayed move is still pending" ;;
esac
echo "restart-test $version: the held sample was deleted at the next start"
