#!/usr/bin/env bash
# run_windows.sh WINDOWS_BUILD CORPUS MANIFEST RUNS VEXBENCH CSV WORK
# The Windows half of the benchmark, on a virtual display of its own: a sandbox prefix (winxp) holding the
# corpus on C:, then, after one warm-up and for RUNS rounds, the listing floor (the program's two-search walk
# and a one-search walk), the same walk with each piece of per-entry window work added in turn, and a full GUI
# scan by vexilor.exe, timed by the driver from SCAN to "Scanning completed". The floor also reads each folder's
# identity as the walker does (--folder-identity); those reads alone are recorded per folder. The scan deletes
# the corpus's infected samples; they are put back before every round.
# Last, one scan with the corpus moved out of the prefix, for the peak memory of a scan of far fewer files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/sandbox.sh"
build=$1 corpus=$2 manifest=$3 runs=$4 vexbench=$5 csv=$6 work=$7

pfx="$work/prefix-winxp"
vex_session "$pfx" winxp
mkdir -p "$pfx/drive_c/vexbin"
cp -f "$build/vexilor.exe" "$build/bench/vexbench_floor.exe" "$build/bench/vexbench_driver.exe" "$pfx/drive_c/vexbin/"
cp -a "$corpus" "$pfx/drive_c/corpus"
vex_sanitize "$pfx"
vex_check_sandbox "$pfx"

restore_samples() {
  local kind path name
  while IFS=$'\t' read -r kind path name; do
    if [ "$kind" = hit ]; then cp -f "$corpus/$path" "$pfx/drive_c/corpus/$path"; fi
  done < "$manifest"
}

run_in_prefix() {  # prints the program's one result line, without the carriage return
  vex_wine_in "$pfx" wine "$@" | tr -d '\r' | grep -E '^(seconds|error)=' | head -1
}

field() {  # field NAME LINE
  sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"
}

# The floor program's modes and the names they are recorded under.
floor_modes=("" --one-pass --folder-identity --pump-only --walker-pumps --text-store --status-line
             --throttled-status-line)
floor_names=(wine_floor_listing wine_floor_one_pass wine_floor_folder_identity wine_floor_pump_only
             wine_floor_walker_pumps wine_floor_text_store wine_floor_status_line wine_floor_throttled_status_line)
declare -A floor_runs=()
scans=() identity_runs=() peak=0 floor_files=0 floor_folders=0
scan_round() {  # scan_round RECORD
  local line i kb
  restore_samples
  for i in "${!floor_modes[@]}"; do
    line=$(run_in_prefix 'C:\vexbin\vexbench_floor.exe' ${floor_modes[$i]})
    if [ "$1" = yes ]; then floor_runs[$i]+=" $(field seconds "$line")"; fi
    [ -z "${floor_modes[$i]}" ] && floor_files=$(field files "$line") floor_folders=$(field folders "$line")
    if [ "$1" = yes ] && [ "${floor_modes[$i]}" = --folder-identity ]; then
      identity_runs+=("$(field identity_seconds "$line")")
    fi
  done
  vex_check_sandbox "$pfx"
  line=$(run_in_prefix 'C:\vexbin\vexbench_driver.exe' 'C:\vexbin\vexilor.exe')
  echo "windows: floor $floor_files files; scan $line"
  [ -n "$(field seconds "$line")" ] || { echo "windows: the scan failed" >&2; return 1; }
  if [ "$(field scanned "$line")" != "$floor_files" ]; then
    echo "windows: the scan counted $(field scanned "$line") files, the floor $floor_files" >&2
  fi
  if [ "$1" = yes ]; then scans+=("$(field seconds "$line")"); fi
  kb=$(field peak_kb "$line")
  if [ "${kb:-0}" -gt "$peak" ]; then peak=$kb; fi
}

scan_round no  # warm-up
for ((round = 1; round <= runs; round++)); do
  scan_round yes
done
for i in "${!floor_modes[@]}"; do
  # shellcheck disable=SC2086  # the runs are one word each
  "$vexbench" record --csv "$csv" --name "${floor_names[$i]}" --files "$floor_files" ${floor_runs[$i]}
done
"$vexbench" record --csv "$csv" --name wine_vexilor_scan --files "$floor_files" --peak-kb "$peak" "${scans[@]}"
# The identity reads alone, per folder: the row's "files" are the folders.
"$vexbench" record --csv "$csv" --name wine_folder_identity_per_folder --files "$floor_folders" "${identity_runs[@]}"

# The same program over the prefix alone: its peak memory must not grow with the number of files.
mv "$pfx/drive_c/corpus" "$pfx/corpus-aside"
vex_check_sandbox "$pfx"
line=$(run_in_prefix 'C:\vexbin\vexbench_driver.exe' 'C:\vexbin\vexilor.exe')
echo "windows: scan without the corpus: $line"
"$vexbench" record --csv "$csv" --name wine_vexilor_scan_no_corpus --files "$(field scanned "$line")" \
  --peak-kb "$(field peak_kb "$line")" "$(field seconds "$line")"
