#!/usr/bin/env bash
# Stages the demo calculation beside a copy of the server, the way an author installs a
# calculation:
#
#   <build>/demo/ORVWS        the server (a copy of <build>/bin/ORVWS)
#   <build>/demo/PUMP.DLY     the layout
#   <build>/demo/PUMP.EXE     the solver program (a copy of <build>/bin/orv_solver)
#   <build>/demo/PUMP.EQN     its equations
#   <build>/demo/NOTES.TXT    the text of the layout's MEMO box
#   <build>/demo/IMGS/        pictures and the initial plot pictures
#   <build>/demo/DATA/        saved input sets (kept from earlier runs)
#
# Usage: scripts/stage-demo.sh [build folder, default "build"]
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build}
demo="$build/demo"
src=examples/pump

for f in "$build/bin/ORVWS" "$build/bin/orv_solver"; do
  if [ ! -x "$f" ]; then
    echo "stage-demo: $f is missing; build first (make build)" >&2
    exit 1
  fi
done

mkdir -p "$demo/IMGS" "$demo/DATA"
# Only one calculation may lie beside the server: drop what an earlier staging left.
rm -f "$demo"/*.DLY "$demo"/*.EXE "$demo"/*.EQN
cp -f "$build/bin/ORVWS" "$demo/ORVWS"
cp -f "$build/bin/orv_solver" "$demo/PUMP.EXE"
cp -f "$src/PUMP.DLY" "$src/PUMP.EQN" "$src/NOTES.TXT" "$demo/"
cp -f "$src"/IMGS/*.GIF "$demo/IMGS/"
echo "stage-demo: staged the pump demo into $demo"
