#!/usr/bin/env bash
# `make run`: the most complete operator experience the suite has so far. Until the operator
# shell exists this sets up the settings of the data home and shows them.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
"$bin/zephra" reg ensure-defaults
echo "Settings in ${ZEPHRA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/zephra}/settings.db:"
"$bin/zephra" reg export
