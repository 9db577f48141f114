#!/usr/bin/env bash
# gui-test.sh VERSION PROGRAM DRIVER ARTIFACTS [DRIVER ARGS...]
# Runs the GUI test driver against the program in a fresh sandbox prefix set to VERSION, on a virtual display
# of its own, and saves the screenshots the driver asks for (lines "@@SHOT NAME") as ARTIFACTS/NAME.png.
# The exit code is the driver's. Sourced (by run.sh), it only defines the functions.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/sandbox.sh"

# vex_run_driver PREFIX DRIVER ARTIFACTS [ARGS...]: runs the driver (already copied to C:\vexbin) in the
# prefix, passes its output through and answers its screenshot requests. Returns the driver's exit code. The
# driver's output comes through a file descriptor of this function's own, ended by a line with its exit code,
# so that a driver that ends before its output has been read loses none of it.
vex_run_driver() {
  local pfx=$1 driver=$2 artifacts=$3 line name answers from_driver to_driver status=1
  shift 3
  mkdir -p "$artifacts"
  answers=$(mktemp -u)
  mkfifo "$answers"
  exec {from_driver}< <(
    VEX_GUI_SHOTS=1 vex_wine_in "$pfx" wine "C:\\vexbin\\$(basename "$driver")" "$@" <"$answers" 2>&1
    printf '@@EXIT %d\n' "$?"
  )
  exec {to_driver}>"$answers"  # the driver's side opens the other end of the pipe as its input
  rm -f "$answers"
  while IFS= read -r line <&"$from_driver"; do
    line=${line%$'\r'}
    case "$line" in
      "@@SHOT "*)
        name=${line#@@SHOT }
        import -window root "$artifacts/$name.png" 2>/dev/null && echo "screenshot: $artifacts/$name.png"
        echo done >&"$to_driver" ;;
      *"@@EXIT "*)  # after the driver's last line, which may lack its line end
        if [ -n "${line%@@EXIT *}" ]; then printf '%s\n' "${line%@@EXIT *}"; fi
        status=${line##*@@EXIT } ;;
      *) printf '%s\n' "$line" ;;
    esac
  done
  exec {from_driver}<&- {to_driver}>&-
  return "$status"
}

gui_test_main() {
  local version=$1 program=$2 driver=$3 artifacts=$4 pfx
  shift 4
  pfx="$VEX_WINE_DIR/gui-$version-$$"
  vex_session "$pfx" "$version" || return 1
  mkdir -p "$pfx/drive_c/vexbin"
  cp -f "$program" "$driver" "$pfx/drive_c/vexbin/"
  vex_run_driver "$pfx" "$driver" "$artifacts" "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  gui_test_main "$@"
  exit $?
fi
