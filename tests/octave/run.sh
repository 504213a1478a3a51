#!/bin/bash
# Runs the Octave suite over the deliverables in MEXDIR and decides from the
# result line the suite prints, not from Octave's exit status: Octave 7 may
# report "error: ignoring const execution_exception& while preparing to exit"
# after a clean run. A run killed by a signal fails all the same.
set -u
mexdir="$1"
octave="${2:-octave-cli}"
here="$(cd "$(dirname "$0")" && pwd)"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
timeout 600 "$octave" --no-gui --norc --no-history --no-window-system \
  --eval "addpath('$here'); run_all('$mexdir');" >"$log" 2>&1
status=$?
cat "$log"
result="$(grep -E '^octave: [0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)"
if [[ -z "$result" ]]; then
  echo "FAIL: the suite printed no result line (exit status $status)"
  exit 1
fi
if ((status >= 124)); then
  echo "FAIL: $octave ended with status $status"
  exit 1
fi
failed="$(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$result")"
passed="$(sed -E 's/^octave: ([0-9]+) passed.*/\1/' <<<"$result")"
if ((failed != 0 || passed == 0)); then
  exit 1
fi
exit 0
