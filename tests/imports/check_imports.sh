#!/usr/bin/env bash
# check_imports.sh PROGRAM ALLOWLIST [OBJDUMP]
# Holds the program's import table to the reviewed allow-list (lines DLL!function, DLL in lower case; '#'
# starts a comment): any import not on the list fails, so a new dependency is reviewed against Windows 98 and
# NT 4 before it ships. Also fails on psapi.dll or toolhelp functions bound at load time (both must be
# resolved at run time), on functions those systems lack, and on a PE subsystem version other than 4.0 (the
# loaders of Windows 98 and NT 4 refuse newer ones).
set -uo pipefail
program=$1 allowlist=$2 objdump=${3:-i686-w64-mingw32-objdump}

dump=$("$objdump" -p "$program") || { echo "imports: cannot read $program"; exit 1; }
# Import lines: a "DLL Name:" line, then one line per function: tab, vma, tab, hint, name.
imports=$(awk '/^\tDLL Name:/ { dll = tolower($3); next }
               /^[^\t]/ { dll = "" }
               dll != "" && /^\t[0-9a-f]+\t/ && NF >= 3 { print dll "!" $NF }' <<<"$dump" | sort -u)
allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$allowlist" | grep -v '^$' | sort -u)

status=0
fail() { echo "imports: $*"; status=1; }

[ -n "$imports" ] || fail "no imports read from $program"
while IFS= read -r line; do
  [ -n "$line" ] && fail "not on the reviewed list: $line"
done < <(comm -23 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed"))
while IFS= read -r line; do
  [ -n "$line" ] && echo "imports: listed but no longer imported (drop it from the list): $line"
done < <(comm -13 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed"))

# Never bound at load time, whatever the list says.
grep -q '^psapi\.dll!' <<<"$imports" && fail "psapi.dll is imported; it must be loaded at run time"
for name in CreateToolhelp32Snapshot Process32First Process32Next Module32First Module32Next; do
  grep -qx "kernel32\.dll!$name" <<<"$imports" && fail "toolhelp function $name is imported"
done
# Missing on Windows 98 or NT 4 (the first three also on Windows 2000, the first one on XP, the last three on
# everything before Vista or 7): the loader would refuse to start the program.
for name in GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler TryEnterCriticalSection \
            GetFileSizeEx SetFilePointerEx GetModuleHandleExA \
            GetModuleHandleExW QueryFullProcessImageNameA K32EnumProcesses K32GetModuleFileNameExA; do
  grep -qx "kernel32\.dll!$name" <<<"$imports" && fail "$name is imported; Windows 98 or NT 4 lacks it"
done

for field in MajorSubsystemVersion MinorSubsystemVersion; do
  want=4; [ "$field" = MinorSubsystemVersion ] && want=0
  got=$(awk -v f="$field" '$1 == f { print $2; exit }' <<<"$dump")
  [ "$got" = "$want" ] || fail "$field is '$got', want $want"
done

[ $status -eq 0 ] && echo "imports: $(wc -l <<<"$imports") imports, all on the reviewed list; subsystem 4.0"
exit $status
