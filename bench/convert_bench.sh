#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times marvane-cli convert against the ffmpeg program doing the same work with the same
# encoders and settings, on a generated 30-second 1280×720 source with sound, and a batch of
# short clips against a shell loop of the ffmpeg program.
#   bench/convert_bench.sh [BUILD_DIR] [RUNS]     (defaults: build, 1)
# Each case runs on all cores and then on one (taskset -c 0); with RUNS above 1 the two commands
# of a case take turns and the median of each figure is kept. Prints wall time, processor time
# (user + system), cores busy (processor ÷ wall), peak memory and output size of both, and the
# ratios marvane / ffmpeg (wall and processor: the median of the runs' ratios to the peer's run
# taken beside them).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"
runs=${2:-1}
command -v taskset >/dev/null || { echo "taskset (util-linux) is needed for the one-core runs" >&2; exit 1; }
src="$work/source.avi"
make_source 30 "$src"

echo "generating twelve 5 s and twelve 1 s clips..."
make_clips 5 "$work/clips5" 12
make_clips 1 "$work/clips1" 12

# One timed command writing OUTPUT (a file, or a folder whose files are summed):
# "timed OUTPUT COMMAND..." prints "seconds peak_kb processor_seconds bytes".
timed() {
  local output=$1 log="$work/time.log"
  shift
  /usr/bin/time -f "%e %M %U %S" -o "$log" "$@" >/dev/null 2>"$work/stderr.log" || {
    echo "failed: $*" >&2; cat "$work/stderr.log" >&2; exit 1; }
  awk -v bytes="$(du -sb "$output" | cut -f1)" '{ printf "%s %s %.2f %s\n", $1, $2, $3 + $4, bytes }' "$log"
}

# The median of each column of the lines on stdin.
medians() {
  awk '{ for (i = 1; i <= NF; ++i) v[i, NR] = $i; n = NF }
       END { for (i = 1; i <= n; ++i) {
               m = 0; for (j = 1; j <= NR; ++j) col[j] = v[i, j]
               for (j = 2; j <= NR; ++j) { x = col[j]; k = j - 1
                 while (k > 0 && col[k] > x) { col[k + 1] = col[k]; --k } col[k + 1] = x }
               m = NR % 2 ? col[(NR + 1) / 2] : (col[NR / 2] + col[NR / 2 + 1]) / 2
               printf "%s%s", m, (i < n ? " " : "\n") } }'
}

ff=(ffmpeg -hide_banner -loglevel error -y -threads 0)
declare -a names marvane peer ratios
# "compare NAME MARVANE_OUTPUT PEER_OUTPUT -- MARVANE_COMMAND... -- PEER_COMMAND..." times both
# commands on all cores and on one.
compare() {
  local name=$1 mout=$2 pout=$3
  shift 3
  local part=0 a=() b=()
  for arg in "$@"; do
    if [ "$arg" = "--" ]; then part=$((part + 1)); continue; fi
    if [ $part = 1 ]; then a+=("$arg"); else b+=("$arg"); fi
  done
  local pin label
  for pin in "" "taskset -c 0"; do
    label=$name
    [ -n "$pin" ] && label="$name, 1 core"
    echo "case: $label"
    local m=() p=() i
    for ((i = 0; i < runs; ++i)); do
      m+=("$(timed "$mout" $pin "${a[@]}")")
      p+=("$(timed "$pout" $pin "${b[@]}")")
    done
    names+=("$label")
    marvane+=("$(printf '%s\n' "${m[@]}" | medians)")
    peer+=("$(printf '%s\n' "${p[@]}" | medians)")
    # Each run's ratio to the peer's run beside it, so that the machine's drift over a case
    # (another guest, the clock) cancels out of the ratio.
    ratios+=("$(paste -d' ' <(printf '%s\n' "${m[@]}") <(printf '%s\n' "${p[@]}") |
      awk '{ printf "%.6f %.6f\n", $1 / $5, $3 / $7 }' | medians)")
  done
}

# A conversion of the 30 s source: "run_case NAME MARVANE_ARGS... -- PEER_ARGS..."; the output is
# the argument after -o for marvane-cli and the last one for the ffmpeg program.
run_case() {
  local name=$1 previous="" out="" split=0 arg
  shift
  local b=()
  for arg in "$@"; do
    if [ "$arg" = "--" ]; then split=1; continue; fi
    if [ $split = 0 ] && [ "$previous" = "-o" ]; then out=$arg; fi
    if [ $split = 1 ]; then b+=("$arg"); fi
    previous=$arg
  done
  local a=("${@:1:$(($# - ${#b[@]} - 1))}")
  compare "$name" "$out" "${b[-1]}" -- "$cli" convert "${a[@]}" -- "${ff[@]}" -i "$src" "${b[@]}"
}

# Twelve clips to DVD: one marvane-cli convert --each against a shell loop of the ffmpeg program.
batch_case() {
  local name=$1 folder=$2
  local mdir="$work/m_$(basename "$folder")" pdir="$work/f_$(basename "$folder")"
  mkdir -p "$mdir" "$pdir"
  local loop='for f in "$1"/*.mp4; do n=$(basename "$f" .mp4)
    ffmpeg -hide_banner -loglevel error -y -threads 0 -i "$f" "${@:3}" "$2/$n.mpg" || exit 1
  done'
  compare "$name" "$mdir" "$pdir" -- "$cli" convert --to dvd --ntsc --each -o "$mdir" "$folder"/*.mp4 -- \
    bash -c "$loop" loop "$folder" "$pdir" "${dvd_of_clip[@]}"
}

each_conversion run_case "$src" "$work"
batch_case "12 x 5 s to DVD" "$work/clips5"
batch_case "12 x 1 s to DVD" "$work/clips1"

printf '\n%-22s %9s %9s %6s %8s %8s %6s %7s %7s %9s %9s %6s\n' case marvane_s ffmpeg_s ratio \
  m_cpu_s f_cpu_s cpu_r m_cores f_cores marv_MB ffm_MB size_r
for i in "${!names[@]}"; do
  read -r ms mk mc mb <<<"${marvane[$i]}"
  read -r fs fk fc fb <<<"${peer[$i]}"
  read -r wr cr <<<"${ratios[$i]}"
  awk -v n="${names[$i]}" -v ms="$ms" -v fs="$fs" -v mk="$mk" -v fk="$fk" -v mc="$mc" -v fc="$fc" \
    -v mb="$mb" -v fb="$fb" -v wr="$wr" -v cr="$cr" \
    'BEGIN { printf "%-22s %9.2f %9.2f %6.3f %8.2f %8.2f %6.3f %7.2f %7.2f %9.1f %9.1f %6.3f\n",
             n, ms, fs, wr, mc, fc, cr, mc / ms, fc / fs, mk / 1024, fk / 1024, mb / fb }'
done
echo "(medians of $runs run(s) each; ratios are medians of each run against the peer's run beside it;"
echo " cores busy = processor ÷ wall; a loaded machine lowers both)"
