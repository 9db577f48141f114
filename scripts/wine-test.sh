#!/usr/bin/env bash
# wine-test.sh VERSION EXE [ARGS...]: runs a Windows test program in a fresh sandbox prefix set to VERSION
# (win98, nt40, win2k, winxp, win7, win10); its exit code is the program's.
set -uo pipefail
. "$(dirname "$0")/sandbox.sh"
version=$1 exe=$2; shift 2
pfx="$VEX_WINE_DIR/test-$(basename "$exe" .exe)-$version-$$"
vex_session "$pfx" "$version" || exit 1
vex_run_exe "$pfx" "$exe" "$@"
