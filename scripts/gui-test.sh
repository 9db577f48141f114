#!/usr/bin/env bash
# gui-test.sh VERSION PROGRAM DRIVER ARTIFACTS [DRIVER ARGS...]
# Runs the GUI test driver against the program in a fresh sandbox prefix set to VERSION, on a virtual display
# of its own, and saves the screenshots the driver asks for (lines "@@SHOT NAME") as ARTIFACTS/NAME.png.
# The exit code is the driver's.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/sandbox.sh"
version=$1 program=$2 driver=$3 artifacts=$4
shift 4

pfx="$VEX_WINE_DIR/gui-$version-$$"
mkdir -p "$artifacts"
xvfb_pid=""
cleanup() {
  vex_stop_prefix "$pfx"
  rm -rf "$pfx"
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

# A display of our own, so that screenshots show only this run's windows; the server picks a free number.
start_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number=""
  read -r -t 30 number <"$fifo"
  rm -f "$fifo"
  [ -n "$number" ] || { echo "gui-test: no virtual display" >&2; return 1; }
  export DISPLAY=":$number"
}

# The display comes first: the prefix's wineserver, started while the prefix is made, keeps whatever display
# (or none) it saw for every later program.
start_display || exit 1
vex_new_prefix "$pfx" "$version" || exit 1
mkdir -p "$pfx/drive_c/vexbin"
cp -f "$program" "$driver" "$pfx/drive_c/vexbin/"

export VEX_GUI_SHOTS=1
coproc DRIVER { vex_wine_in "$pfx" wine "C:\\vexbin\\$(basename "$driver")" "$@" 2>&1; }
driver_pid=$DRIVER_PID
while IFS= read -r line <&"${DRIVER[0]}"; do
  line=${line%$'\r'}
  case "$line" in
    "@@SHOT "*)
      name=${line#@@SHOT }
      import -window root "$artifacts/$name.png" 2>/dev/null && echo "gui-test: screenshot $artifacts/$name.png"
      echo done >&"${DRIVER[1]}" ;;
    *) printf '%s\n' "$line" ;;
  esac
done
wait "$driver_pid"
