#!/usr/bin/env bash
# run.sh [--headless]: builds the program, prepares a fresh sandbox Wine prefix (build/wine/demo, or
# build/wine64/demo where the machine runs no 32-bit programs: drive C: only, no way out to the Linux file
# system) holding a small demo machine, and starts the program in it. The demo machine has a few clean files
# and programs and one synthetic sample of every shipped signature row: one of them read-only and hidden and
# started by a Run value, one inside "C:\Program Files" and running, so that the scan shows the memory scan's
# lines and a "System Registry" line beside the deleted files.
# With a display ($DISPLAY set) the window appears and you press SCAN. Without one, or with --headless, the
# GUI test driver runs the demo beside this script (scripts/run_demo.cpp): it presses SCAN on a virtual display,
# prints the results list and saves screenshots, from which this script makes build/demo/screenshot.png in the
# form of the README's picture (docs/screenshot.png, which it does not replace: copy it there by hand).
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

# Where the sample of each shipped row goes: a download, a hidden file in a temporary folder that a Run value
# starts, an installed program that is running; rows beyond those three join the downloads.
sample_path() {
  case $1 in
    1) echo "Demo/Downloads/free_screensaver.exe" ;;
    2) echo "Demo/Temp/svchost32.exe" ;;
    3) echo "Program Files/StartHelper/starthlp.exe" ;;
    *) echo "Demo/Downloads/toolbar$1.exe" ;;
  esac
}
windows_path() { echo "C:\\$(sample_path "$1" | tr / '\\')"; }
run_value_row=2
running_row=3
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
run_value_data="$(windows_path "$run_value_row") /autorun"
# The running sample is of the kind this machine's Wine starts.
machine=i386
[ "$VEX_WINE_BITS" = 64 ] && machine=x64

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
    local runnable=()
    [ "$row" = "$running_row" ] && runnable=(--runnable --machine "$machine")
    "$samplegen" --row "$row" "${runnable[@]}" "$c/$(sample_path "$row")" >/dev/null
  done
  # Wine's attrib takes one flag per call.
  for flag in +r +h; do
    vex_wine_in "$pfx" wine cmd /c attrib "$flag" "$(windows_path "$run_value_row")" >/dev/null 2>&1
  done
  vex_wine_in "$pfx" wine reg add "$run_key" /v svchost32 /d "$run_value_data" /f >/dev/null 2>&1
  echo "Demo machine: $pfx/drive_c"
  echo "  clean:   Demo/Documents/*, Demo/Games/*"
  for row in $(seq 1 "$rows"); do
    local note=""
    [ "$row" = "$run_value_row" ] && note="; read-only, hidden, started by a Run value"
    [ "$row" = "$running_row" ] && note="; runs during the scan"
    echo "  sample:  $(windows_path "$row")  ($("$samplegen" --list | sed -n "${row}p" | cut -f2)$note)"
  done
  echo "  Run value: $run_key, svchost32 = $run_value_data"
}

# Starts the installed sample and waits, within a bound, until the prefix lists its process.
start_infected_program() {
  local exe name
  exe=$(windows_path "$running_row")
  name=$(basename "$(sample_path "$running_row")")
  vex_wine_in "$pfx" wine "$exe" >/dev/null 2>&1 &
  for _ in $(seq 60); do
    # Wine's tasklist lists nothing; its wmic answers in UTF-16.
    if vex_wine_in "$pfx" wine wmic process get name 2>/dev/null | tr -d '\0\r' | grep -qiw "$name"; then
      echo "  running: $exe"
      return 0
    fi
    sleep 0.5
  done
  echo "run.sh: $exe did not start" >&2
  return 1
}

# readme_picture BEFORE AFTER OUT: the two windows side by side, each cut from its screenshot of the display
# (black around the window) with the display's black at the rounded corners made transparent.
readme_picture() {
  local corners=(-draw 'color 0,0 floodfill' -flop -draw 'color 0,0 floodfill' -flip
                 -draw 'color 0,0 floodfill' -flop -draw 'color 0,0 floodfill' -flip)
  convert \( "$1" -trim +repage -alpha set -fill none "${corners[@]}" \) \
          \( -size 20x1 xc:none \) \
          \( "$2" -trim +repage -alpha set -fill none "${corners[@]}" \) \
          -background none +append "$3"
}

if [ "$headless" = 0 ]; then
  vex_new_prefix "$pfx" winxp
  seed_demo_machine
  start_infected_program
  echo "Starting Vexilor on $DISPLAY; press SCAN."
  vex_run_exe "$pfx" "$program" || true
  vex_stop_prefix "$pfx"
else
  vex_session "$pfx" winxp keep
  seed_demo_machine
  start_infected_program
  mkdir -p "$pfx/drive_c/vexbin"
  cp -f "$program" "$driver" "$pfx/drive_c/vexbin/"
  rm -rf "$shots"
  echo "No display: scanning on a virtual one through the test driver."
  vex_run_driver "$pfx" "$driver" "$shots" --gtest_also_run_disabled_tests --gtest_filter=Demo.* \
    | grep -v -E '^(\[|Running main|$)' || true
  [ -f "$shots/demo-finished.png" ] && echo "Screenshot of the finished scan: $shots/demo-finished.png"
  if [ -f "$shots/demo-ready.png" ] && [ -f "$shots/demo-results.png" ]; then
    readme_picture "$shots/demo-ready.png" "$shots/demo-results.png" "$shots/screenshot.png"
    echo "Before the scan and its first results, as in the README's picture (docs/screenshot.png, left as it is):"
    echo "  $shots/screenshot.png"
  fi
fi
