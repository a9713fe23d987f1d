#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main window's batch execution on a generated 20-second 1280x720 source with sound:
#   bench/execution_bench.sh [BUILD_DIR]     (default: build)
# 1. one DVD task: the longest gap between two ticks of a 10 ms timer on the window's thread;
# 2. three DVD tasks: the peak memory of the process;
# 3. the split-against-whole cost (bench/split_bench.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
bench="$build/bin/marvane-execution-bench"
[ -x "$bench" ] || { echo "no $bench: build the marvane-execution-bench target first" >&2; exit 1; }

source bench/common.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src="$work/source.avi"
make_source 20 "$src"

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
echo "one 720p DVD task:"
"$bench" "$src" 1 "$work"
rm -f "$work"/task*.mpg
echo "three 720p DVD tasks:"
"$bench" "$src" 3 "$work"
bash bench/split_bench.sh "$build"
