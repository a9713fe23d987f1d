#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a split task costs against converting its source whole: marvane-cli convert of a
# generated 60-second 1280x720 source to AVI, once whole and once split every 15 seconds (four
# parts), each the median of three turns, in wall time and in processor time (user + system),
# which a busy machine disturbs less.
#   bench/split_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"
src="$work/source.avi"
make_source 60 "$src"

read -r whole_wall whole_cpu <<<"$(median_of_three --to avi -o "$work/out.avi" "$src")"
read -r split_wall split_cpu <<<"$(median_of_three --to avi --split 15 -o "$work/out.avi" "$src")"
parts=$(ls "$work"/out*.avi | wc -l)
awk -v ww="$whole_wall" -v wc="$whole_cpu" -v sw="$split_wall" -v sc="$split_cpu" -v p="$parts" 'BEGIN {
  printf "whole: wall %.2f s, cpu %.2f s\n", ww, wc
  printf "split into %d parts: wall %.2f s, cpu %.2f s\n", p, sw, sc
  printf "ratio split/whole: wall %.3f, cpu %.3f\n", sw / ww, sc / wc }'
