#!/usr/bin/env bash
# Runs every benchmark program of a build folder. Each benchmark measures its subject beside a
# reference taken in the same run (reading the same bytes, drawing the same primitives
# directly), so the ratios printed at the end hold on a busy machine.
set -euo pipefail
build=${1:-build-bench}
status=0
for b in "$build"/bin/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.2 || status=1
done
exit $status
