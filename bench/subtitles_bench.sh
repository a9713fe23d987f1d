#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What burned subtitles cost: marvane-cli convert of a generated 30-second 1280x720 source to
# DVD, once without subtitles and once with a SubRip file that shows two lines for 1.8 s of
# every 2 s, each the median of three turns, in wall time and in processor time.
#   bench/subtitles_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"
src="$work/source.avi"
make_source 30 "$src"
srt="$work/lines.srt"
for i in $(seq 0 14); do
  printf '%d\n00:00:%02d,100 --> 00:00:%02d,900\nLine %d of the bench\nwith a second row of words\n\n' \
    "$((i + 1))" "$((i * 2))" "$((i * 2 + 1))" "$((i + 1))"
done >"$srt"

read -r plain_wall plain_cpu <<<"$(median_of_three --to dvd --pal -o "$work/out.mpg" "$src")"
read -r burned_wall burned_cpu <<<"$(median_of_three --to dvd --pal --subtitles "$srt" -o "$work/out.mpg" "$src")"
awk -v pw="$plain_wall" -v pc="$plain_cpu" -v bw="$burned_wall" -v bc="$burned_cpu" 'BEGIN {
  printf "without subtitles: wall %.2f s, cpu %.2f s\n", pw, pc
  printf "with subtitles: wall %.2f s, cpu %.2f s\n", bw, bc
  printf "ratio with/without: wall %.3f, cpu %.3f\n", bw / pw, bc / pc }'
