# Sandbox Wine prefixes for running and testing the program. Source this file.
#
# The program deletes infected files on every fixed drive it sees, so a prefix used here must expose nothing
# outside itself: drive Z: (Wine maps it to the Linux root) and every other drive but C: are removed, and the
# links Wine makes from the user folders into the Linux home are replaced by plain folders. Prefixes live in
# the build tree, never in ~/.wine, and only their own wineserver is ever stopped.
#
# VEX_WINE_BITS=64 selects 64-bit prefixes and Wine's 64-bit loader, for machines whose kernel cannot run
# 32-bit Linux programs (Wine's 32-bit loader is one); the Windows suite then runs its 64-bit build there.
# Unset, it is 32 where Wine's 32-bit loader starts and 64 elsewhere.

VEX_ROOT=${VEX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -z "${VEX_WINE_BITS:-}" ]; then
  if wine --version >/dev/null 2>&1; then VEX_WINE_BITS=32; else VEX_WINE_BITS=64; fi
fi
export VEX_WINE_BITS
if [ "$VEX_WINE_BITS" = 64 ]; then
  VEX_WINE_DIR=${VEX_WINE_DIR:-$VEX_ROOT/build/wine64}
else
  VEX_WINE_DIR=${VEX_WINE_DIR:-$VEX_ROOT/build/wine}
fi

# Debian's `wine` (and wineboot through it) takes the 32-bit loader whenever it is installed; in 64-bit mode
# `wine` found first on PATH is a stand-in that takes the 64-bit one.
vex_wine64_path() {
  local bin="$VEX_WINE_DIR/bin" name
  mkdir -p "$bin"
  for name in wine wine-stable; do
    [ -x "$bin/$name" ] && continue
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  export PATH="$bin:$PATH"
}

vex_wine_env() {
  export WINEARCH=win$VEX_WINE_BITS WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  [ "$VEX_WINE_BITS" = 64 ] && vex_wine64_path
  # Wine links user folders into $HOME while it builds a prefix; give it a home of its own.
  export HOME="$VEX_WINE_DIR/home"
  mkdir -p "$HOME"
}

# Removes every way out of the prefix. Safe to call any number of times.
vex_sanitize() {
  local pfx=$1 d l
  for d in "$pfx"/dosdevices/*; do
    [ -e "$d" ] || [ -L "$d" ] || continue
    case "$(basename "$d")" in
      c:|com[0-9]*|lpt[0-9]*|nul|prn|aux) ;;
      *) rm -f "$d" ;;
    esac
  done
  while IFS= read -r -d '' l; do
    rm -f "$l"
    mkdir -p "$l"
  done < <(find "$pfx/drive_c" -type l -print0)
  [ -L "$pfx/dosdevices/c:" ] || ln -s ../drive_c "$pfx/dosdevices/c:"
}

# Fails loudly when anything on drive C: or any drive letter leads outside the prefix.
vex_check_sandbox() {
  local pfx=$1
  if [ -e "$pfx/dosdevices/z:" ] || [ -L "$pfx/dosdevices/z:" ]; then
    echo "sandbox: $pfx still has drive Z:" >&2; return 1
  fi
  if [ -n "$(find "$pfx/drive_c" -type l -print -quit)" ]; then
    echo "sandbox: $pfx has links on drive C:" >&2; return 1
  fi
}

vex_wine_in() {  # vex_wine_in PREFIX COMMAND... : runs a Wine command in the prefix
  local pfx=$1; shift
  ( vex_wine_env; export WINEPREFIX="$pfx"; cd "$pfx/drive_c" && "$@" )
}

vex_stop_prefix() {
  vex_wine_in "$1" wineserver -k 2>/dev/null || true
  vex_wine_in "$1" wineserver -w 2>/dev/null || true
}

vex_make_template() {
  local t=$1
  rm -rf "$t"
  ( vex_wine_env; export WINEPREFIX="$t"; wineboot -i >/dev/null 2>&1; wineserver -w )
  vex_sanitize "$t"
  # Without a window manager Wine stalls whenever a captioned window closes; unmanaged windows do not.
  vex_wine_in "$t" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  vex_stop_prefix "$t"
  vex_sanitize "$t"
  touch "$t/.vexilor-ready"
}

vex_template_prefix() {
  local lock t="$VEX_WINE_DIR/template"
  mkdir -p "$VEX_WINE_DIR"
  # Tests run side by side: the first makes the template while the others wait for it. The lock is not
  # handed down to Wine's processes, some of which outlive the command that started them.
  exec {lock}>"$VEX_WINE_DIR/template.lock"
  flock "$lock"
  [ -f "$t/.vexilor-ready" ] || vex_make_template "$t" {lock}>&-
  exec {lock}>&-
  echo "$t"
}

# vex_start_display: a virtual display of our own (the server picks a free number); every test run takes one.
# X input focus belongs to a whole display, so on a shared one a test running alongside could take the focus
# from this run's windows; and screenshots show only this run's windows. Sets DISPLAY and VEX_XVFB_PID.
# Start it before the prefix is made: the prefix's wineserver keeps whatever display (or none) it saw first
# for every later program.
vex_start_display() {
  local fifo number=""
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  VEX_XVFB_PID=$!
  read -r -t 30 number <"$fifo" || true
  rm -f "$fifo"
  [ -n "$number" ] || { echo "sandbox: no virtual display" >&2; return 1; }
  export DISPLAY=":$number"
}

vex_stop_display() {
  [ -n "${VEX_XVFB_PID:-}" ] || return 0
  kill "$VEX_XVFB_PID" 2>/dev/null
  wait "$VEX_XVFB_PID" 2>/dev/null
  VEX_XVFB_PID=""
}

# vex_new_prefix DIR VERSION: a fresh sandbox prefix reporting the given Windows version.
vex_new_prefix() {
  local pfx=$1 version=$2 t
  t=$(vex_template_prefix)
  [ -d "$pfx" ] && vex_stop_prefix "$pfx"
  rm -rf "$pfx"
  mkdir -p "$(dirname "$pfx")"
  cp -a "$t" "$pfx"
  rm -f "$pfx/.vexilor-ready"
  vex_wine_in "$pfx" wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  # A running wineserver keeps the display it first saw; the program's first start must bring its own.
  vex_stop_prefix "$pfx"
  vex_sanitize "$pfx"
  vex_check_sandbox "$pfx"
}

# vex_session PREFIX VERSION [keep]: one run's sandbox: a virtual display of its own, then a fresh prefix PREFIX
# set to VERSION. On any exit of the calling script the prefix's server is stopped and the prefix removed, and
# the display is stopped. The prefix stays when "keep" is given (the demo machine), or, with VEX_KEEP_PREFIX=1,
# when the script failed: it is named then, for a look inside.
vex_session() {
  VEX_SESSION_PREFIX=$1
  VEX_SESSION_KEEP=${3:-}
  trap 'vex_end_session $?' EXIT
  vex_start_display || return 1
  vex_new_prefix "$1" "$2"
}

vex_end_session() {
  local status=$1 pfx=${VEX_SESSION_PREFIX:-}
  if [ -n "$pfx" ] && [ -d "$pfx" ]; then
    vex_stop_prefix "$pfx"
    if [ "${VEX_SESSION_KEEP:-}" = keep ]; then
      :
    elif [ "$status" != 0 ] && [ "${VEX_KEEP_PREFIX:-}" = 1 ]; then
      echo "sandbox: kept $pfx (exit status $status)" >&2
    else
      chmod -R u+rwX "$pfx" 2>/dev/null
      rm -rf "$pfx"
    fi
  fi
  vex_stop_display
}

# vex_run_exe PREFIX EXE [ARGS...]: copies the program onto C: (there is no Z: to reach it through) and runs it.
vex_run_exe() {
  local pfx=$1 exe=$2; shift 2
  vex_sanitize "$pfx"
  vex_check_sandbox "$pfx" || return 1
  mkdir -p "$pfx/drive_c/vexbin"
  cp -f "$exe" "$pfx/drive_c/vexbin/"
  vex_wine_in "$pfx" wine "C:\\vexbin\\$(basename "$exe")" "$@"
}
