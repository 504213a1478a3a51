#!/bin/bash
# Every deliverable exports mexFunction alone, unversioned, and needs no
# shared library at load time beyond the C runtime (sanitizer runtimes are
# allowed in a sanitizer build). The MEX functions stay undefined, for the
# loading host to provide.
set -u
dir="$1"
sanitized="${2:-OFF}"
suffix="${3:-.mexa64}"
failures=0
count=0
for f in "$dir"/*"$suffix"; do
  [[ -e "$f" ]] || continue
  count=$((count + 1))
  name=$(basename "$f" "$suffix")
  exports=$(nm -D --defined-only "$f" | awk '{print $3}' | sort | tr '\n' ' ')
  if [[ "$exports" != "mexFunction " ]]; then
    echo "FAIL: $name exports: $exports"; failures=$((failures + 1))
  fi
  needed=$(readelf -d "$f" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' | tr '\n' ' ')
  for lib in $needed; do
    case "$lib" in
      libc.so.*) ;;
      libasan.so.*|libubsan.so.*|libm.so.*|libgcc_s.so.*|libstdc++.so.*) [[ "$sanitized" == ON ]] || { echo "FAIL: $name needs $lib"; failures=$((failures + 1)); } ;;
      *) echo "FAIL: $name needs $lib"; failures=$((failures + 1)) ;;
    esac
  done
  undefined=$(nm -D -u "$f" | awk '{print $2}' | grep -E '^(mx|mex)' | tr '\n' ' ')
  if [[ -z "$undefined" ]]; then
    echo "FAIL: $name binds no MEX function from its host"; failures=$((failures + 1))
  fi
  if [[ "$(readlink "$dir/$name.mex")" != "$name$suffix" ]]; then
    echo "FAIL: $name has no .mex name beside it"; failures=$((failures + 1))
  fi
done
if ((count == 0)); then echo "FAIL: no deliverable in $dir"; exit 1; fi
if ((failures)); then exit 1; fi
echo "$count deliverables checked"
