#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a split task costs against converting its source whole, in wall time and in processor
# time (user + system), which a busy machine disturbs less; each the median of three turns of
# marvane-cli convert to AVI:
#   - a generated 60-second 1280x720 MPEG-4 source, split every 15 seconds (four parts);
#   - a generated 16-second 1280x720 H.264 and AAC transport stream whose sound is damaged in its
#     middle (the payload of one sound packet in sixteen scrambled), split every second.
#   bench/split_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
bench_setup "${1:-build}"
src="$work/source.avi"
make_source 60 "$src"

echo "generating a 16 s transport stream with damaged sound..."
ts="$work/damaged.ts"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=16" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=16" -ac 2 \
  -c:v libx264 -preset veryfast -g 50 -c:a aac -f mpegts "$work/clean.ts"
python3 - "$work/clean.ts" "$ts" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
packets = len(data) // 188
sound = 0
for i in range(packets * 2 // 5, packets * 3 // 5):
    p = i * 188
    pid = ((data[p + 1] & 0x1F) << 8) | data[p + 2]
    if pid == 0x101 and not data[p + 1] & 0x40 and data[p + 3] & 0x30 == 0x10:
        sound += 1
        if sound % 16 == 0:
            for at in range(p + 8, p + 188, 5):
                data[at] ^= 0x5A
open(sys.argv[2], "wb").write(data)
PY

# "case NAME SECONDS SOURCE": the whole conversion and the split, timed in one run.
case_line() {
  local name=$1 seconds=$2 source=$3
  read -r whole_wall whole_cpu <<<"$(median_of_three --to avi -o "$work/out.avi" "$source")"
  read -r split_wall split_cpu <<<"$(median_of_three --to avi --split "$seconds" -o "$work/out.avi" "$source")"
  parts=$(ls "$work"/out*.avi | wc -l)
  awk -v n="$name" -v ww="$whole_wall" -v wc="$whole_cpu" -v sw="$split_wall" -v sc="$split_cpu" -v p="$parts" 'BEGIN {
    printf "%s\n  whole: wall %.2f s, cpu %.2f s\n", n, ww, wc
    printf "  split into %d parts: wall %.2f s, cpu %.2f s\n", p, sw, sc
    printf "  ratio split/whole: wall %.3f, cpu %.3f\n", sw / ww, sc / wc }'
}

case_line "60 s MPEG-4 AVI, parts of 15 s" 15 "$src"
case_line "16 s H.264 transport stream with damaged sound, parts of 1 s" 1 "$ts"
