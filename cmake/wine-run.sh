#!/bin/bash
# Runs a Windows program under Wine as a native one would run: in the given
# prefix (made on first use), without Wine's own diagnostics, with Unix line
# ends on standard output, and with the program's exit status.
#   wine-run.sh WINE PREFIX PROGRAM.exe [ARG...]
set -uo pipefail
wine="$1"
export WINEPREFIX="$2"
export WINEDEBUG=-all
shift 2
server="$(dirname "$wine")/wineserver"
[[ -x "$server" ]] || server="$(command -v wineserver)"
# Wine's server and its background programs must not start from here: they
# would hold on to this program's output, and whoever reads it would wait
# for them. Start them on their own, once for many programs (the server stays
# up for a minute after the last one ends); tests run in parallel, so one at
# a time.
mkdir -p "$WINEPREFIX"
(
  flock 9
  if "$server" -p60 </dev/null >/dev/null 2>&1 9>&-; then
    if [[ -f "$WINEPREFIX/system.reg" ]]; then
      "$wine" wineboot </dev/null >/dev/null 2>&1 9>&-
    else
      "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
    fi
  fi
) 9>"$WINEPREFIX.lock"
"$wine" "$@" | tr -d '\r'
