#!/usr/bin/env bash
# Times still-picture extraction: `marvane-cli frames` against the ffmpeg program taking the same
# 30 pictures (10 s of a 1280x720 video at 3 pictures per second, scaled to 640x360), in one run.
# The two take turns seven times; the medians are compared.
#   bench/frames_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$root/build}/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source="$work/source.avi"
ffmpeg -v error -f lavfi -i "testsrc2=s=1280x720:r=25:d=10" -c:v mpeg4 -q:v 3 -g 12 "$source"

seconds() { local start=$(date +%s.%N); "$@" >/dev/null 2>&1; awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'; }

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ours_runs=() theirs_runs=()
for _ in 1 2 3 4 5 6 7; do
  rm -rf "$work/marvane" "$work/ffmpeg"
  mkdir "$work/marvane" "$work/ffmpeg"
  ours_runs+=("$(seconds "$bin/marvane-cli" frames --per-second 3 --size 640x360 -o "$work/marvane" "$source")")
  theirs_runs+=("$(seconds ffmpeg -v error -i "$source" -vf fps=3,scale=640:360 -frames:v 30 "$work/ffmpeg/source_%d.bmp")")
done
ours=$(median "${ours_runs[@]}")
theirs=$(median "${theirs_runs[@]}")

count_ours=$(ls "$work/marvane" | wc -l)
count_theirs=$(ls "$work/ffmpeg" | wc -l)
printf 'marvane-cli frames: %d pictures in %.3f s\n' "$count_ours" "$ours"
printf 'ffmpeg fps=3,scale:  %d pictures in %.3f s\n' "$count_theirs" "$theirs"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio: %.2f (goal <= 1.5)\n", a / b }'
