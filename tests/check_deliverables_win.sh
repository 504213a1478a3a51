#!/bin/bash
# Every Windows deliverable exports mexFunction alone and imports, by name,
# MEX functions from libmx.dll (mx*) and libmex.dll (mex*), and otherwise
# only the C runtime and KERNEL32.dll: no C++ runtime, no DLL of our own.
#   check_deliverables_win.sh OBJDUMP DIR SUFFIX [COUNT]
# COUNT, when given, is the number of deliverables DIR must hold.
set -u
objdump="$1"
dir="$2"
suffix="$3"
want="${4:-}"
failures=0
count=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for f in "$dir"/*"$suffix"; do
  [[ -e "$f" ]] || continue
  count=$((count + 1))
  name=$(basename "$f" "$suffix")
  dump=$("$objdump" -p "$f") || { fail "$name: not readable by $objdump"; continue; }
  exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && NF == 0 {t = 0} t {print $NF}' <<<"$dump" |
    sort | tr '\n' ' ')
  [[ "$exports" == "mexFunction " ]] || fail "$name exports: $exports"
  # One line per import: DLL NAME (NAME is empty for an import by ordinal).
  imports=$(awk '/^\tDLL Name:/ {dll = $3; next}
                 dll && /^\tvma:/ {next}
                 dll && NF == 0 {dll = ""; next}
                 dll {print dll, (NF >= 3 ? $NF : "")}' <<<"$dump")
  mex=0
  while read -r dll symbol; do
    [[ -n "$dll" ]] || continue
    [[ -n "$symbol" ]] || fail "$name imports from $dll by ordinal"
    case "${dll,,}" in
      libmx.dll) [[ "$symbol" == mx* && "$symbol" != mex* ]] || fail "$name imports $symbol from $dll"; mex=1 ;;
      libmex.dll) [[ "$symbol" == mex* ]] || fail "$name imports $symbol from $dll"; mex=1 ;;
      kernel32.dll|msvcrt.dll|ucrtbase.dll|api-ms-win-crt-*.dll) ;;
      *) fail "$name imports $symbol from $dll" ;;
    esac
  done <<<"$imports"
  ((mex)) || fail "$name imports no MEX function"
done
if ((count == 0)); then echo "FAIL: no deliverable in $dir"; exit 1; fi
if [[ -n "$want" ]] && ((count != want)); then fail "$count deliverables in $dir, expected $want"; fi
if ((failures)); then exit 1; fi
echo "$count deliverables checked"
