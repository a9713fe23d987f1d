#!/usr/bin/env bash
# Times marvane-cli convert --to mp4 (H.264, quality 22, "Balanced") against the ffmpeg program
# with the same encoder settings, on a generated 30-second 1280×720 source with sound, in one
# run, and compares the two files' sizes.
#   bench/mp4_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
cli="${1:-build}/bin/marvane-cli"
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src="$work/source.avi"
echo "generating a 30 s 1280x720 source..."
ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 -ac 2 \
  -c:v mpeg4 -q:v 3 -c:a libmp3lame -b:a 192k -shortest "$src"

# One timed command: prints its wall time and its processor time (user + system) in seconds;
# on a busy machine the second says more.
timed() {
  local log="$work/time.log"
  /usr/bin/time -f "%e %U %S" -o "$log" "$@" >/dev/null 2>"$work/stderr.log" || {
    echo "failed: $*" >&2; cat "$work/stderr.log" >&2; exit 1; }
  cat "$log"
}

echo "converting..."
m=$(timed "$cli" convert --to mp4 --codec h264 --quality 22 --speed balanced -o "$work/m.mp4" "$src")
f=$(timed ffmpeg -hide_banner -loglevel error -y -i "$src" -c:v libx264 -crf 22 -preset medium \
  -c:a aac -b:a 160k -movflags +faststart "$work/f.mp4")
ms=$(stat -c %s "$work/m.mp4")
fs=$(stat -c %s "$work/f.mp4")

printf '\n%-22s %10s %10s %8s\n' "" marvane ffmpeg ratio
read -r mw mu mk <<<"$m"
read -r fw fu fk <<<"$f"
awk -v m="$mw" -v f="$fw" 'BEGIN { printf "%-22s %10.2f %10.2f %8.3f\n", "wall seconds", m, f, m / f }'
awk -v m="$mu" -v n="$mk" -v f="$fu" -v g="$fk" \
  'BEGIN { printf "%-22s %10.2f %10.2f %8.3f\n", "processor seconds", m + n, f + g, (m + n) / (f + g) }'
awk -v m="$ms" -v f="$fs" 'BEGIN { printf "%-22s %10.0f %10.0f %8.3f\n", "bytes", m, f, m / f }'
for file in m f; do
  ffprobe -v error -show_entries stream=codec_name,profile,level,width,height,avg_frame_rate:format=duration \
    -of compact=p=0 "$work/$file.mp4" | sed "s/^/$file: /"
done
