#!/usr/bin/env bash
# run.sh [--headless]: builds the program, prepares a fresh sandbox Wine prefix (build/wine/demo, or
# build/wine64/demo where the machine runs no 32-bit programs: drive C: only, no way out to the Linux file
# system) holding a small demo machine, and starts the program in it. The demo machine has a few clean files
# and programs and one synthetic sample of every shipped signature row: one of them read-only and hidden, one
# inside "C:\Program Files".
# With a display ($DISPLAY set) the window appears and you press SCAN. Without one, or with --headless, the
# GUI test driver presses SCAN on a virtual display, prints the results list and saves a screenshot.
# Every run starts from a freshly seeded demo machine.
set -euo pipefail
cd "$(dirname "$0")/.."
headless=0
[ "${1:-}" = "--headless" ] && headless=1
[ -z "${DISPLAY:-}" ] && headless=1

scripts/deps.sh
. scripts/gui-test.sh  # sandbox prefixes, virtual display, the driver's screenshot requests
# Where the kernel runs no 32-bit Linux programs, Wine's 32-bit loader cannot start: the demo then shows the
# program built for 64-bit Windows, in a 64-bit prefix.
windows=win$VEX_WINE_BITS
[ "$VEX_WINE_BITS" = 64 ] && echo "This machine cannot run 32-bit programs: showing the 64-bit build of Vexilor."
native=${VEX_NATIVE_BUILD:-build/native}
win=${VEX_WIN_BUILD:-build/$windows}
cmake --preset native -B "$native" >/dev/null
cmake --build "$native" --target samplegen -j"$(nproc)"
cmake --preset "$windows" -B "$win" >/dev/null
cmake --build "$win" --target vexilor vexilor_guitests -j"$(nproc)"
samplegen="$native/tools/samplegen/samplegen"
program="$win/vexilor.exe"
driver="$win/tests/gui/vexilor_guitests.exe"
pfx="$VEX_WINE_DIR/demo"
shots="$VEX_ROOT/build/demo"

# Where the sample of each shipped row goes: a download, a hidden file in a temporary folder, an installed
# program; rows beyond those three join the downloads.
sample_path() {
  case $1 in
    1) echo "Demo/Downloads/free_screensaver.exe" ;;
    2) echo "Demo/Temp/svchost32.exe" ;;
    3) echo "Program Files/StartHelper/starthlp.exe" ;;
    *) echo "Demo/Downloads/toolbar$1.exe" ;;
  esac
}

seed_demo_machine() {
  local c="$pfx/drive_c" rows row
  mkdir -p "$c/Demo/Documents" "$c/Demo/Downloads" "$c/Demo/Games" "$c/Demo/Temp" "$c/Program Files/StartHelper"
  printf 'Quarterly report\r\nSales rose in every region.\r\n' >"$c/Demo/Documents/report.txt"
  printf 'name,phone\r\nAda,555-0100\r\n' >"$c/Demo/Documents/contacts.csv"
  cp resources/art/152.bmp "$c/Demo/Documents/picture.bmp"
  # Clean programs: a real one, and one that resembles a sample but is a byte too long to match.
  cp "$program" "$c/Demo/Games/vexilor-copy.exe"
  "$samplegen" --row 1 --near-miss longer "$c/Demo/Games/solitaire.exe" >/dev/null
  rows=$("$samplegen" --list | wc -l)
  for row in $(seq 1 "$rows"); do
    "$samplegen" --row "$row" "$c/$(sample_path "$row")" >/dev/null
  done
  # Wine's attrib takes one flag per call.
  for flag in +r +h; do
    vex_wine_in "$pfx" wine cmd /c attrib "$flag" 'C:\Demo\Temp\svchost32.exe' >/dev/null 2>&1
  done
  echo "Demo machine: $pfx/drive_c"
  echo "  clean:   Demo/Documents/*, Demo/Games/*"
  for row in $(seq 1 "$rows"); do
    echo "  sample:  C:\\$(sample_path "$row" | tr / '\\')  ($("$samplegen" --list | sed -n "${row}p" | cut -f2))"
  done
  echo "  (C:\\Demo\\Temp\\svchost32.exe is read-only and hidden)"
}

if [ "$headless" = 0 ]; then
  vex_new_prefix "$pfx" winxp
  seed_demo_machine
  echo "Starting Vexilor on $DISPLAY; press SCAN."
  vex_run_exe "$pfx" "$program" || true
  vex_stop_prefix "$pfx"
else
  trap 'vex_stop_prefix "$pfx"; vex_stop_display' EXIT
  vex_start_display
  vex_new_prefix "$pfx" winxp
  seed_demo_machine
  mkdir -p "$pfx/drive_c/vexbin"
  cp -f "$program" "$driver" "$pfx/drive_c/vexbin/"
  rm -rf "$shots"
  echo "No display: scanning on a virtual one through the test driver."
  vex_run_driver "$pfx" "$driver" "$shots" --gtest_also_run_disabled_tests --gtest_filter=Demo.* \
    | grep -v -E '^(\[|Running main|$)' || true
  [ -f "$shots/demo-finished.png" ] && echo "Screenshot of the finished scan: $shots/demo-finished.png"
fi
