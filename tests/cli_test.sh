#!/bin/bash
# The zevk tool as a user runs it: outputs, JSON and exit statuses.
set -u
zevk="$1"
scripts="$2"
suffix="${3:-.mexa64}"
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [[ "$2" != "$3" ]]; then
    echo "FAIL: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}
entry() { python3 -c "import json,sys; print(json.load(sys.stdin)['sizes'][$1])"; }

out=$("$zevk" sizes ZEVK_Reset 0.01 --json)
check "Reset expected parameters" 1 "$(entry 7 <<<"$out")"
check "Reset inputs" 1 "$(entry 3 <<<"$out")"
check "Reset outputs" 0 "$(entry 2 <<<"$out")"
check "Reset sample times" 1 "$(entry 6 <<<"$out")"
check "Reset version" 8480229 "$(entry 19 <<<"$out")"
check "Reset options" 8192 "$(entry 23 <<<"$out")"
out=$("$zevk" sizes ZEVK_Reset --json)
check "Reset without parameters: inputs" 0 "$(entry 3 <<<"$out")"
check "Reset without parameters: expected" 1 "$(entry 7 <<<"$out")"
out=$("$zevk" sizes ZEVK_Master 1 2 3 --json)
check "Master is zero but for 19 and 23" "[0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8480229, 0, 0, 0, 8192, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]" \
  "$(python3 -c "import json,sys; print(json.load(sys.stdin)['sizes'])" <<<"$out")"
out=$("$zevk" sizes ZEVK_Reset 0.01)
check "readable form names entry 19" "19  record version            8480229" "$(grep '^19' <<<"$out")"

"$zevk" sizes ZEVK_Reset '[1 2' >/dev/null 2>err.txt
check "malformed literal exits 2" 2 $?
grep -q "parameter 0 (\[1 2): at position 4" err.txt || { echo "FAIL: literal message: $(cat err.txt)"; failures=$((failures + 1)); }
"$zevk" sizes ZEVK_NoSuchBlock >/dev/null 2>err.txt
check "missing block exits 2" 2 $?
grep -q "ZEVK_NoSuchBlock$suffix" err.txt || { echo "FAIL: missing block message: $(cat err.txt)"; failures=$((failures + 1)); }

out=$("$zevk" run --json "$scripts/reset_flags.json")
check "run: step count" 25 "$(python3 -c "import json,sys; print(len(json.load(sys.stdin)['steps']))" <<<"$out")"
errors=$(python3 -c "
import json,sys
for s in json.load(sys.stdin)['steps']:
    print(s['error'] or s['mexError'] or '-')" <<<"$out")
expected="-
Invalid flag encountered in simulink
-
Invalid flag encountered in simulink
Invalid flag encountered in simulink
To have a variable sample time, you must define MDL_GET_TIME_OF_NEXT_VAR_HIT and add a mdlGetTimeOfNextVarHit routine
-
To have nonsampled zero crossings, you must define MDL_ZERO_CROSSINGS and have a mdlZeroCrossings routine
-
Invalid call to mdlSetInputPortDataType
Unexpected call to mdlSetOutputPortDataType
Unexpected call to mdlSetInputPortWidth
Unexpected call to mdlSetInputPortDimensionInfo
Unexpected call to mdlSetInputPortSampleTime
-
Unexpected call to mdlGetSimState (MDL_SIM_STATE not defined)
Unexpected call to mdlSetSimState (MDL_SIM_STATE not defined)
Invalid flag encountered in simulink
-
MEX level2 S-function \"ZEVK_Reset\" must be called with at least 4 right hand arguments
MEX level2 S-function \"ZEVK_Reset\" called with too many left hand arguments
The 4th right hand argument, FLAG, passed to MEX level2 S-function \"ZEVK_Reset\" must be an integer
The 4th right hand argument, FLAG, passed to MEX level2 S-function \"ZEVK_Reset\" must be an integer
Invalid flag passed to MEX level2 S-function \"ZEVK_Reset\"
-"
check "run: messages of every step" "$expected" "$errors"

rm -f err.txt
if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all CLI checks passed"
