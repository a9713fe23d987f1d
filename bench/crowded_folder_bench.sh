#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times 200 still pictures written into a folder that already holds 30,000 files against the
# same 200 into an empty folder, in one run: a run reads its output folder once for the
# leftovers of killed runs, so the crowded folder should cost little more. Five turns each,
# taking turns; the medians of wall and processor time (user + system) are compared.
#   bench/crowded_folder_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"

source="$work/source.avi"
ffmpeg -v error -f lavfi -i "testsrc2=s=320x240:r=25:d=20" -c:v mpeg4 -q:v 3 -g 25 "$source"
mkdir "$work/crowded"
(cd "$work/crowded" && seq -f "other_%05g.bmp" 1 30000 | xargs touch)

# One timed run into a folder: prints "wall_seconds processor_seconds"; its pictures are removed.
timed() {
  /usr/bin/time -f "%e %U %S" -o "$work/time.log" "$cli" frames --per-second 10 -o "$1/" "$source" \
    >/dev/null 2>"$work/stderr.log" || { echo "failed in $1" >&2; cat "$work/stderr.log" >&2; exit 1; }
  count=$(find "$1" -name 'source_*.bmp' | wc -l)
  [ "$count" = 200 ] || { echo "$count pictures in $1, not 200" >&2; exit 1; }
  find "$1" -name 'source_*.bmp' -delete
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time.log"
}

median() { awk -v c="$1" '{ print $c }' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

mkdir "$work/empty"
for turn in 1 2 3 4 5; do
  timed "$work/empty" >>"$work/empty.txt"
  timed "$work/crowded" >>"$work/crowded.txt"
done
printf '%-28s %8s %8s\n' "" wall_s cpu_s
for who in empty crowded; do
  printf '%-28s %8.3f %8.2f\n' "200 pictures, $who folder" "$(median 1 <"$work/$who.txt")" "$(median 2 <"$work/$who.txt")"
done
awk -v a="$(median 1 <"$work/crowded.txt")" -v b="$(median 1 <"$work/empty.txt")" \
  -v c="$(median 2 <"$work/crowded.txt")" -v d="$(median 2 <"$work/empty.txt")" \
  'BEGIN { printf "ratio crowded/empty: wall %.2f, processor %.2f (goal: <= 1.20)\n", a / b, c / d }'
