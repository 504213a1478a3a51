#!/bin/bash
# The main job: build the blockset and describe a few of its blocks through
# the host of our own.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)"
zevk="$root/build/tools/zevk/zevk"
"$zevk" sizes ZEVK_Reset 0.01
"$zevk" describe ZEVK_Reset '[0.01 0.005]'
"$zevk" describe ZEVK_Master
"$zevk" compile "$root/examples/motor_control.json"
