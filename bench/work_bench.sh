#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The work (instructions executed, counted by valgrind's callgrind) of marvane-cli convert against
# the ffmpeg program doing the same conversion with the same encoders and settings. Counts do not
# depend on the machine's load or on timer noise, so a difference of a percent is real; they do not
# show the cost of threads waiting for or waking each other, which convert_bench.sh measures.
#   bench/work_bench.sh [BUILD_DIR] [SECONDS]     (defaults: build, 2)
# Cases: each kind from a SECONDS-long 1280x720 source; and the fixed cost of a task, from twelve
# clips of 1 s and twelve of 2 s in one `convert --each` against one process of the ffmpeg program
# per clip: (2 x work(1 s) - work(2 s)) is what a task costs beyond its pictures and sound.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"
seconds=${2:-2}
command -v valgrind >/dev/null || { echo "valgrind is needed: apt-get install valgrind" >&2; exit 1; }
src="$work/source.avi"
make_source "$seconds" "$src"
make_clips 1 "$work/clips1" 12
make_clips 2 "$work/clips2" 12

# "instructions COMMAND..." prints how many instructions COMMAND and its threads executed.
instructions() {
  local out="$work/callgrind.out" log="$work/callgrind.log"
  valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >"$log" 2>&1 || {
    echo "failed: $*" >&2; tail -5 "$log" >&2; exit 1; }
  awk '/Collected :/ { print $NF }' "$log"
}

ff=(ffmpeg -hide_banner -loglevel error -y -threads 0)
printf '%-22s %14s %14s %7s\n' case marvane ffmpeg ratio
row() { awk -v n="$1" -v m="$2" -v f="$3" 'BEGIN { printf "%-22s %14.0f %14.0f %7.3f\n", n, m, f, m / f }'; }

count_case() {
  local name=$1 split=0 arg
  shift
  local a=() b=()
  for arg in "$@"; do
    if [ "$arg" = "--" ]; then split=1; continue; fi
    if [ $split = 0 ]; then a+=("$arg"); else b+=("$arg"); fi
  done
  row "$name" "$(instructions "$cli" convert "${a[@]}")" "$(instructions "${ff[@]}" -i "$src" "${b[@]}")"
}
each_conversion count_case "$src" "$work"

# Work of twelve clips in one convert --each, and of one clip by the ffmpeg program, times twelve.
batch() {
  local folder=$1
  mkdir -p "$work/out_$2"
  instructions "$cli" convert --to dvd --ntsc --each -o "$work/out_$2" "$folder"/*.mp4
}
peer_clip() { echo $(( $(instructions "${ff[@]}" -i "$1/clip01.mp4" "${dvd_of_clip[@]}" "$work/f_clip.mpg") * 12 )); }
m1=$(batch "$work/clips1" 1); f1=$(peer_clip "$work/clips1")
m2=$(batch "$work/clips2" 2); f2=$(peer_clip "$work/clips2")
row "12 x 1 s to DVD" "$m1" "$f1"
row "12 x 2 s to DVD" "$m2" "$f2"
row "fixed cost, 12 tasks" $((2 * m1 - m2)) $((2 * f1 - f2))
echo "(instructions; the fixed cost is 2 x (1 s batch) - (2 s batch): opening, probing, codec start,"
echo " output check and process start, shared over twelve tasks for marvane-cli, paid by each for ffmpeg)"
