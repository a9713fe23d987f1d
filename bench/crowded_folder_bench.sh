#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times runs that write many files into a folder that already holds 30,000 files against the
# same runs into an empty folder: a run reads each output folder once for the leftovers of
# killed runs, so the crowded folder should cost little more. Three runs:
#   - 200 still pictures of one video (marvane-cli frames);
#   - the sound of 60 short sources, each to its own WAV file (marvane-cli audio);
#   - 20 short sources converted each to its own AVI file (marvane-cli convert --each).
# Five turns each, taking turns; the medians of wall and processor time (user + system) are
# compared.
#   bench/crowded_folder_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"

video="$work/source.avi"
ffmpeg -v error -f lavfi -i "testsrc2=s=320x240:r=25:d=20" -c:v mpeg4 -q:v 3 -g 25 "$video"
mkdir "$work/sounds" "$work/clips"
ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=0.5" -c:a libmp3lame "$work/sound.mp3"
ffmpeg -v error -f lavfi -i "testsrc2=s=160x120:r=25:d=0.4" -f lavfi -i "sine=frequency=440:duration=0.4" \
  -c:v mpeg4 -c:a libmp3lame -shortest "$work/clip.avi"
for i in $(seq -w 1 60); do cp "$work/sound.mp3" "$work/sounds/clip_$i.mp3"; done
for i in $(seq -w 1 20); do cp "$work/clip.avi" "$work/clips/clip_$i.avi"; done
mkdir "$work/crowded"
(cd "$work/crowded" && seq -f "other_%05g.bmp" 1 30000 | xargs touch)

# The command of a run into a folder, and how many files it writes there.
command_of() {
  case $1 in
    stills) echo "frames --per-second 10 -o $2/ $video" ;;
    sound) echo "audio --wav -o $2 $(ls "$work"/sounds/*)" ;;
    each) echo "convert --each --to avi -o $2/ $(ls "$work"/clips/*)" ;;
  esac
}
declare -A written=([stills]=200 [sound]=60 [each]=20)
declare -A label=([stills]="200 pictures" [sound]="60 sounds" [each]="20 clips --each")

# One timed run into a folder: prints "wall_seconds processor_seconds"; its files are removed.
timed() {
  # shellcheck disable=SC2046
  /usr/bin/time -f "%e %U %S" -o "$work/time.log" "$cli" $(command_of "$1" "$2") \
    >/dev/null 2>"$work/stderr.log" || { echo "$1 failed in $2" >&2; cat "$work/stderr.log" >&2; exit 1; }
  count=$(find "$2" \( -name 'source_*.bmp' -o -name 'clip_*' \) | wc -l)
  [ "$count" = "${written[$1]}" ] || { echo "$count files in $2, not ${written[$1]}" >&2; exit 1; }
  find "$2" \( -name 'source_*.bmp' -o -name 'clip_*' \) -delete
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time.log"
}

median() { awk -v c="$1" '{ print $c }' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

mkdir "$work/empty"
printf '%-30s %8s %8s\n' "" wall_s cpu_s
for run in ${BENCH_RUNS:-stills sound each}; do
  for turn in 1 2 3 4 5; do
    timed "$run" "$work/empty" >>"$work/$run-empty.txt"
    timed "$run" "$work/crowded" >>"$work/$run-crowded.txt"
  done
  for who in empty crowded; do
    printf '%-30s %8.3f %8.2f\n' "${label[$run]}, $who folder" "$(median 1 <"$work/$run-$who.txt")" \
      "$(median 2 <"$work/$run-$who.txt")"
  done
  awk -v a="$(median 1 <"$work/$run-crowded.txt")" -v b="$(median 1 <"$work/$run-empty.txt")" \
    -v c="$(median 2 <"$work/$run-crowded.txt")" -v d="$(median 2 <"$work/$run-empty.txt")" -v who="${label[$run]}" \
    'BEGIN { printf "%s, ratio crowded/empty: wall %.2f, processor %.2f (goal: <= 1.20)\n", who, a / b, c / d }'
done
