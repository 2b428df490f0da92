#!/usr/bin/env bash
# `make run`: the most complete operator experience the suite has so far. Until the operator
# shell exists this runs the sample part program BRACKET-7 headless, following it the way the
# suite does, prints its report and logs the run to the part's history in the data home.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
samples="$(cd "$(dirname "$0")/.." && pwd)/data/samples"

# The data home set up as the manager does at its first start: empty folder settings get their
# default folders (the slide-show folder among them), which are created.
setup=$("$bin/zephra" setup)
slides=$(sed -n 's/^slide-show folder: //p' <<<"$setup")
histories=$(sed -n 's/^history folder: //p' <<<"$setup")

# The sample shows go into the slide-show folder, where the program's switch to side B looks
# for them; files already there are left as they are.
mkdir -p "$slides/pictures"
for f in bracket-a.zep bracket-b.zep; do
  [ -e "$slides/$f" ] || cp "$samples/$f" "$slides/"
done
for p in "$samples"/pictures/*; do
  [ -e "$slides/pictures/$(basename "$p")" ] || cp "$p" "$slides/pictures/"
done

history="${histories%/}/BRACKET-7"
mkdir -p "$history"
# Every run measures a new part: the results are drawn anew from the clock.
"$bin/zephra" run "$samples/bracket.prg" --slideshow "${slides%/}/bracket-a.zep" --history "$history" \
  --seed "$(date +%s)"
echo
echo "Runs of BRACKET-7 kept in $history (newest first):"
"$bin/zephra" history "$history"
