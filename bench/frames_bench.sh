#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times still-picture extraction: `marvane-cli frames` against the ffmpeg program taking the same
# 30 pictures (10 s of a 1280x720 video at 3 pictures per second, scaled to 640x360), in one run.
# The two take turns seven times, each into a fresh folder; the medians of wall time, processor
# time (user + system) and peak memory are compared. Prefix with `taskset -c 0` for one core.
#   bench/frames_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$root/build}/bin"
[ -x "$bin/marvane-cli" ] || { echo "no $bin/marvane-cli: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source="$work/source.avi"
ffmpeg -v error -f lavfi -i "testsrc2=s=1280x720:r=25:d=10" -c:v mpeg4 -q:v 3 -g 12 "$source"

# One timed command: prints "wall_seconds processor_seconds peak_kb".
timed() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.log" "$@" >/dev/null 2>"$work/stderr.log" || {
    echo "failed: $*" >&2; cat "$work/stderr.log" >&2; exit 1; }
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time.log"
}

# The median of column $1 of the lines on standard input.
median() { awk -v c="$1" '{ print $c }' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ours="$work/ours.txt" theirs="$work/theirs.txt"
for turn in 1 2 3 4 5 6 7; do
  mkdir "$work/marvane$turn" "$work/ffmpeg$turn"
  timed "$bin/marvane-cli" frames --per-second 3 --size 640x360 -o "$work/marvane$turn" "$source" >>"$ours"
  timed ffmpeg -v error -i "$source" -vf fps=3,scale=640:360 -frames:v 30 "$work/ffmpeg$turn/source_%d.bmp" >>"$theirs"
done

count_ours=$(ls "$work/marvane1" | wc -l)
count_theirs=$(ls "$work/ffmpeg1" | wc -l)
printf '%-20s %8s %8s %8s %9s\n' "" pictures wall_s cpu_s peak_MB
for who in marvane ffmpeg; do
  file=$ours count=$count_ours name="marvane-cli frames"
  [ $who = ffmpeg ] && file=$theirs count=$count_theirs name="ffmpeg fps,scale"
  printf '%-20s %8d %8.3f %8.2f %9.1f\n' "$name" "$count" "$(median 1 <"$file")" "$(median 2 <"$file")" \
    "$(awk -v k="$(median 3 <"$file")" 'BEGIN { print k / 1024 }')"
done
awk -v a="$(median 1 <"$ours")" -v b="$(median 1 <"$theirs")" -v c="$(median 2 <"$ours")" -v d="$(median 2 <"$theirs")" \
  'BEGIN { printf "ratio: wall %.2f, processor %.2f (goal: wall <= 0.80)\n", a / b, c / d }'
