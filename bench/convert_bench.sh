#!/usr/bin/env bash
# Times marvane-cli convert against the ffmpeg program doing the same work with the same
# encoders and settings, on a generated 30-second 1280×720 source with sound.
#   bench/convert_bench.sh [BUILD_DIR]     (default: build)
# Prints wall time, processor time (user + system), peak memory and output size of both and the
# ratios marvane / ffmpeg for each case. Prefix with `taskset -c 0` to measure on one core.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"
src="$work/source.avi"
make_source 30 "$src"

# One timed command writing the file OUTPUT: "timed OUTPUT COMMAND..." prints
# "seconds peak_kb processor_seconds bytes".
timed() {
  local output=$1 log="$work/time.log"
  shift
  /usr/bin/time -f "%e %M %U %S" -o "$log" "$@" >/dev/null 2>"$work/stderr.log" || {
    echo "failed: $*" >&2; cat "$work/stderr.log" >&2; exit 1; }
  awk -v bytes="$(stat -c %s "$output")" '{ printf "%s %s %.2f %s\n", $1, $2, $3 + $4, bytes }' "$log"
}

ff=(ffmpeg -hide_banner -loglevel error -y -threads 0 -i "$src")
declare -a names marvane peer
run_case() {
  local name=$1; shift
  local split=0 a=() b=() out="" previous=""
  for arg in "$@"; do
    if [ "$arg" = "--" ]; then split=1; continue; fi
    if [ $split = 0 ]; then a+=("$arg"); else b+=("$arg"); fi
    if [ "$previous" = "-o" ]; then out=$arg; fi
    previous=$arg
  done
  echo "case: $name"
  local m p
  m=$(timed "$out" "$cli" convert "${a[@]}")
  p=$(timed "${b[-1]}" "${ff[@]}" "${b[@]}")
  names+=("$name"); marvane+=("$m"); peer+=("$p")
}

run_case "DVD NTSC" --to dvd --ntsc -o "$work/m_dvd.mpg" "$src" -- \
  -target ntsc-dvd -b:v 5000k -b:a 224k "$work/f_dvd.mpg"
run_case "VCD PAL" --to vcd --pal -o "$work/m_vcd.mpg" "$src" -- \
  -target pal-vcd "$work/f_vcd.mpg"
run_case "WMV (LAN 384)" --to wmv -o "$work/m.wmv" "$src" -- \
  -s 640x360 -c:v wmv2 -b:v 320k -g 75 -c:a wmav2 -b:a 64k -ar 44100 -ac 2 -f asf "$work/f.wmv"
run_case "AVI Xvid+MP3" --to avi --video-compressor Xvid -o "$work/m.avi" "$src" -- \
  -s 352x240 -r 24 -c:v libxvid -b:v 1800k -g 250 -vtag XVID -c:a libmp3lame -b:a 128k -ar 44100 -ac 2 "$work/f.avi"
run_case "MP4 H.264" --to mp4 --codec h264 --quality 22 --speed balanced -o "$work/m.mp4" "$src" -- \
  -c:v libx264 -crf 22 -preset medium -c:a aac -b:a 160k -movflags +faststart "$work/f.mp4"

printf '\n%-16s %10s %10s %7s %10s %10s %7s %12s %12s %8s\n' case marvane_s ffmpeg_s ratio \
  m_cpu_s f_cpu_s cpu_rat marvane_MB ffmpeg_MB size_rat
for i in "${!names[@]}"; do
  read -r ms mk mc mb <<<"${marvane[$i]}"
  read -r fs fk fc fb <<<"${peer[$i]}"
  awk -v n="${names[$i]}" -v ms="$ms" -v fs="$fs" -v mk="$mk" -v fk="$fk" -v mc="$mc" -v fc="$fc" \
    -v mb="$mb" -v fb="$fb" \
    'BEGIN { printf "%-16s %10.2f %10.2f %7.3f %10.2f %10.2f %7.3f %12.1f %12.1f %8.3f\n",
             n, ms, fs, ms / fs, mc, fc, mc / fc, mk / 1024, fk / 1024, mb / fb }'
done
