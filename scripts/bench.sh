#!/usr/bin/env bash
# bench.sh [--files N] [--runs R]: the scan-speed benchmark (not part of the test command).
# Installs what it needs, builds, generates the deterministic corpus of N files (default 20000; 200000 for the
# large run) under build/bench/, and measures in one invocation, each as the median of R runs (default 5)
# after a warm-up: the native matching core against the bare-walk and open-everything floors, 3 rows against
# a synthetic 972-row table, clamscan with our rows as ClamAV signatures, and, under Wine on a virtual display,
# a full GUI scan by vexilor.exe against a FindFirstFileA/FindNextFileA listing of the same prefix. Prints the
# medians, the ratios and peak memory; writes build/bench/results-N.csv and build/bench/ratios-N.csv.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
files=20000 runs=5 seed=20240 pe_source=/usr/lib/i386-linux-gnu/wine/i386-windows
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--files N] [--runs R]" >&2; exit 2 ;;
  esac
done
[ "$runs" -ge 5 ] || { echo "bench: at least 5 runs" >&2; exit 2; }
work="$root/build/bench"
mkdir -p "$work"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

"$root/scripts/deps.sh"
command -v /usr/bin/time >/dev/null || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q time

# clamscan without its database. Installing the clamav package pulls in clamav-freshclam, whose set-up
# starts a download of ClamAV's virus database; so when clamscan is missing, only its libraries are
# installed, and the program itself is unpacked from the package without running any package script.
clamscan=$(command -v clamscan || true)
if [ -z "$clamscan" ]; then
  clamscan="$work/clamav/usr/bin/clamscan"
  if [ ! -x "$clamscan" ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends libclamav12 libjson-c5 libcurl4
    mkdir -p "$work/clamav"
    ( cd "$work/clamav" && apt-get download clamav && dpkg-deb -x clamav_*.deb . )
  fi
fi

echo "bench: building"
cmake --preset native -B "$work/native" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
cmake --build "$work/native" --target vexbench -j2 >/dev/null
# The 64-bit build where this machine's Wine cannot run 32-bit programs.
. "$root/scripts/sandbox.sh"
windows=win$VEX_WINE_BITS
cmake --preset "$windows" -B "$work/$windows" >/dev/null
cmake --build "$work/$windows" --target vexilor vexbench_floor vexbench_driver -j2 >/dev/null
vexbench="$work/native/bench/vexbench"

corpus="$work/corpus-$files" manifest="$work/corpus-$files.manifest"
if [ "$(head -1 "$manifest" 2>/dev/null)" != "# files $files seed $seed" ]; then
  echo "bench: generating $files files in $corpus"
  rm -rf "$corpus" "$manifest"
  "$vexbench" corpus --root "$corpus" --manifest "$manifest" --pe-source "$pe_source" --files "$files" --seed "$seed"
fi

csv="$work/results-$files.csv" ratios="$work/ratios-$files.csv"
rm -f "$csv"
echo "bench: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

echo "bench: native walks"
"$vexbench" native --root "$corpus" --manifest "$manifest" --csv "$csv" --hits "$work/hits-ours.txt" --runs "$runs"
# Peak memory of the core walking the whole tree and one small folder of it: it must not grow with the tree.
for tree in "$corpus" "$corpus/Program Files"; do
  name=native_core_once_tree; [ "$tree" = "$corpus" ] || name=native_core_once_subtree
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$vexbench" core-once --root "$tree" >"$work/core-once.txt"
  read -r seconds kb <"$work/time.txt"
  "$vexbench" record --csv "$csv" --name "$name" --files "$(cut -d' ' -f1 "$work/core-once.txt")" \
    --peak-kb "$kb" "$seconds"
done

echo "bench: clamscan"
"$vexbench" clamdb --out "$work/vexilor.ldb"
clam_runs=() clam_peak=0
for ((round = 0; round <= runs; round++)); do  # round 0 is the warm-up
  status=0
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$clamscan" -r --database="$work/vexilor.ldb" --infected \
    --no-summary --stdout "$corpus" >"$work/clamscan.txt" || status=$?
  [ "$status" -le 1 ] || { echo "bench: clamscan failed ($status)" >&2; cat "$work/clamscan.txt" >&2; exit 1; }
  read -r seconds kb < <(tail -1 "$work/time.txt")  # after a "Command exited with non-zero status" line
  [ "$round" -eq 0 ] && continue
  clam_runs+=("$seconds")
  if [ "$kb" -gt "$clam_peak" ]; then clam_peak=$kb; fi
done
"$vexbench" record --csv "$csv" --name clamscan --files "$files" --peak-kb "$clam_peak" "${clam_runs[@]}"
# Same signatures, same samples: clamscan's findings against ours.
sed -n "s|^$corpus/\(.*\): \(.*\)\.UNOFFICIAL FOUND$|\1\t\2|p" "$work/clamscan.txt" | sort >"$work/hits-clamscan.txt"
if sort "$work/hits-ours.txt" | cmp -s - "$work/hits-clamscan.txt"; then
  echo "bench: clamscan finds exactly our $(wc -l <"$work/hits-clamscan.txt") samples"
else
  echo "bench: clamscan's findings differ from ours:" >&2
  diff <(sort "$work/hits-ours.txt") "$work/hits-clamscan.txt" >&2 || true
  exit 1
fi

echo "bench: Wine (GUI scan and listing floor)"
"$root/bench/run_windows.sh" "$work/$windows" "$corpus" "$manifest" "$runs" \
  "$vexbench" "$csv" "$work"

"$vexbench" report --csv "$csv" --ratios "$ratios"
echo "bench: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); figures in $csv and $ratios"
