#!/usr/bin/env bash
# gui-test.sh VERSION PROGRAM DRIVER ARTIFACTS [DRIVER ARGS...]
# Runs the GUI test driver against the program in a fresh sandbox prefix set to VERSION, on a virtual display
# of its own, and saves the screenshots the driver asks for (lines "@@SHOT NAME") as ARTIFACTS/NAME.png.
# The exit code is the driver's. Sourced (by run.sh), it only defines the functions.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/sandbox.sh"

# vex_run_driver PREFIX DRIVER ARTIFACTS [ARGS...]: runs the driver (already copied to C:\vexbin) in the
# prefix, passes its output through and answers its screenshot requests. Returns the driver's exit code.
vex_run_driver() {
  local pfx=$1 driver=$2 artifacts=$3 line name driver_pid
  shift 3
  mkdir -p "$artifacts"
  coproc DRIVER { VEX_GUI_SHOTS=1 vex_wine_in "$pfx" wine "C:\\vexbin\\$(basename "$driver")" "$@" 2>&1; }
  driver_pid=$DRIVER_PID
  while IFS= read -r line <&"${DRIVER[0]}"; do
    line=${line%$'\r'}
    case "$line" in
      "@@SHOT "*)
        name=${line#@@SHOT }
        import -window root "$artifacts/$name.png" 2>/dev/null && echo "screenshot: $artifacts/$name.png"
        echo done >&"${DRIVER[1]}" ;;
      *) printf '%s\n' "$line" ;;
    esac
  done
  wait "$driver_pid"
}

gui_test_main() {
  local version=$1 program=$2 driver=$3 artifacts=$4 pfx
  shift 4
  pfx="$VEX_WINE_DIR/gui-$version-$$"
  VEX_GUI_PREFIX=$pfx
  trap 'vex_stop_prefix "$VEX_GUI_PREFIX"; rm -rf "$VEX_GUI_PREFIX"; vex_stop_display' EXIT
  vex_start_display || return 1
  vex_new_prefix "$pfx" "$version" || return 1
  mkdir -p "$pfx/drive_c/vexbin"
  cp -f "$program" "$driver" "$pfx/drive_c/vexbin/"
  vex_run_driver "$pfx" "$driver" "$artifacts" "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  gui_test_main "$@"
  exit $?
fi
