#!/usr/bin/env bash
# hardening-test.sh VERSION PROGRAM DRIVER ARTIFACTS
# Whole-machine checks of the program in a fresh sandbox prefix: prepares a hostile drive C: (a folder holding
# two links to its own tree's root, paths longer than MAX_PATH, a folder and a file closed to the scan), takes a
# digest of every file on the drive and a list of everything in the prefix outside it, runs the GUI driver's
# hardening tests (full scan, leak check; the full scan puts one sample inside the linked tree and requires it
# removed), and then requires every file of the drive to be there byte for byte and nothing outside the drive
# to have gone. The exit code is non-zero when the driver or a comparison fails.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/gui-test.sh"

version=$1 program=$2 driver=$3 artifacts=$4
pfx="$VEX_WINE_DIR/hardening-$version-$$"
work="$artifacts/state"

# make_hostile_drive DIR: the hostile parts, all inside the drive and holding no sample.
make_hostile_drive() {
  local root=$1 path level name fourth=""
  mkdir -p "$root/loop/nest" "$root/locked" "$root/closed" "$root/deep"
  echo "inside the loop" >"$root/loop/inside.txt"
  echo "beside the links" >"$root/loop/nest/nested.txt"
  # C:\Hostile\loop\nest\back and ...\nest\again are both C:\Hostile\loop: a walk that followed them would
  # take each path of "nest\back\" and "nest\again\" steps that fits, twice as many with every step.
  ln -s .. "$root/loop/nest/back"
  ln -s .. "$root/loop/nest/again"
  echo "held open with no sharing by the driver" >"$root/locked/inner.txt"
  echo "held open with no sharing by the driver" >"$root/locked.bin"
  echo "mode 000" >"$root/closed/inner.txt"
  echo "mode 000" >"$root/unreadable.bin"
  # Levels of 50-character names: C:\Hostile\deep\ is 16 characters, each level adds 51, so the fifth level
  # and everything below it lie beyond 260 characters, as does a 60-character name at the fourth.
  path="$root/deep"
  for level in 1 2 3 4 5 6; do
    name=$(printf 'level%d_%s' "$level" "$(printf 'x%.0s' $(seq 1 43))")
    path="$path/$name"
    mkdir -p "$path"
    echo "level $level" >"$path/file$level.txt"
    [ "$level" = 4 ] && fourth=$path
  done
  name=$(printf 'n%.0s' $(seq 1 56)).txt
  echo "name beyond the limit" >"$fourth/$name"
}

# Every link on drive C: must resolve to a place inside it.
check_links_inside() {
  local drive link target
  drive=$(realpath "$1/drive_c")
  while IFS= read -r -d '' link; do
    target=$(realpath -m "$link")
    case "$target/" in
      "$drive"/*) ;;
      *) echo "hardening: $link leads outside the drive ($target)" >&2; return 1 ;;
    esac
  done < <(find "$1/drive_c" -type l -print0)
}

# digest PREFIX: one line per regular file of the drive (links not followed): digest and path.
digest() {
  (cd "$1/drive_c" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

# outside PREFIX: every path of the prefix outside the drive. The registry files change as Wine runs, so only
# their presence is compared.
outside() {
  (cd "$1" && find . -path ./drive_c -prune -o -print | sort)
}

compare() {  # compare NAME: lines of NAME.before missing from NAME.after
  local missing
  missing=$(comm -23 "$work/$1.before" "$work/$1.after")
  if [ -n "$missing" ]; then
    echo "hardening: $1 changed; missing or altered after the scan:"
    head -20 <<<"$missing"
    return 1
  fi
  echo "hardening: $1 unchanged ($(wc -l <"$work/$1.before") entries)"
}

mkdir -p "$work"
vex_session "$pfx" "$version" || exit 1
mkdir -p "$pfx/drive_c/vexbin"
cp -f "$program" "$driver" "$pfx/drive_c/vexbin/"
# The links are made after the sandbox check, and held to stay inside the drive.
make_hostile_drive "$pfx/drive_c/Hostile"
check_links_inside "$pfx" || exit 1
[ -e "$pfx/dosdevices/z:" ] && { echo "hardening: drive Z: present" >&2; exit 1; }

digest "$pfx" >"$work/drive.before"
outside "$pfx" >"$work/outside.before"
# Closed to anyone but root; as root (as in CI) the driver's exclusive holds do the closing.
chmod 000 "$pfx/drive_c/Hostile/closed" "$pfx/drive_c/Hostile/unreadable.bin"
[ "$(id -u)" = 0 ] && echo "hardening: running as root, mode 000 closes nothing; the held folder and file do"

export VEX_HARDENING=1
vex_run_driver "$pfx" "$driver" "$artifacts" --gtest_filter='Hardening.*:LeakCheck.*'
status=$?
vex_stop_prefix "$pfx"

chmod 755 "$pfx/drive_c/Hostile/closed"
chmod 644 "$pfx/drive_c/Hostile/unreadable.bin"
digest "$pfx" >"$work/drive.after"
outside "$pfx" >"$work/outside.after"
compare drive || status=1
compare outside || status=1
check_links_inside "$pfx" || status=1
exit $status
