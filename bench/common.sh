# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the conversion benches, sourced after they change to the project folder.
#   bench_setup BUILD_DIR   sets $cli (the built companion) and $work (a folder removed at exit)
#   make_source SECONDS FILE   writes a 1280x720 25 fps MPEG-4 source with 48 kHz stereo MP3 sound
#   median_of_three ARGS...    "wall cpu" of marvane-cli convert ARGS (outputs named $work/out*)
#   each_conversion FUNCTION SOURCE FOLDER   one call of FUNCTION per output kind compared
#   make_clips SECONDS FOLDER COUNT   COUNT copies of a phone-style H.264/AAC clip

bench_setup() {
  cli="${1:-build}/bin/marvane-cli"
  [ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 1; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
}

make_source() {
  echo "generating a $1 s 1280x720 source..."
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=$1" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$1" -ac 2 \
    -c:v mpeg4 -q:v 3 -c:a libmp3lame -b:a 192k -shortest "$2"
}

# "wall cpu": medians in seconds of three turns of one convert.
median_of_three() {
  local walls=() cpus=()
  for _ in 1 2 3; do
    rm -f "$work"/out*
    /usr/bin/time -f "%e %U %S" -o "$work/time.log" "$cli" convert "$@" >/dev/null 2>"$work/stderr.log" || {
      echo "failed: $*" >&2; cat "$work/stderr.log" >&2; exit 1; }
    read -r e u s <"$work/time.log"
    walls+=("$e")
    cpus+=("$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }')")
  done
  echo "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n 2p) $(printf '%s\n' "${cpus[@]}" | sort -n | sed -n 2p)"
}

# The conversions the benches compare, one per kind: "each_conversion FUNCTION SOURCE FOLDER" calls
# "FUNCTION NAME MARVANE_CONVERT_ARGS... -- FFMPEG_OUTPUT_ARGS..." for each, outputs in FOLDER.
each_conversion() {
  local run=$1 src=$2 dir=$3
  $run "DVD NTSC" --to dvd --ntsc -o "$dir/m_dvd.mpg" "$src" -- \
    -target ntsc-dvd -b:v 5000k -b:a 224k "$dir/f_dvd.mpg"
  $run "VCD PAL" --to vcd --pal -o "$dir/m_vcd.mpg" "$src" -- \
    -target pal-vcd "$dir/f_vcd.mpg"
  $run "WMV (LAN 384)" --to wmv -o "$dir/m.wmv" "$src" -- \
    -s 640x360 -c:v wmv2 -b:v 320k -g 75 -c:a wmav2 -b:a 64k -ar 44100 -ac 2 -f asf "$dir/f.wmv"
  $run "AVI Xvid+MP3" --to avi --video-compressor Xvid -o "$dir/m.avi" "$src" -- \
    -s 352x240 -r 24 -c:v libxvid -b:v 1800k -g 250 -vtag XVID -c:a libmp3lame -b:a 128k -ar 44100 -ac 2 "$dir/f.avi"
  # marvane-cli caps an H.264 stream at its level's bit rate and buffer (3.1 High for 720p at
  # 25 fps), so the encoder's rate control does the same work on both sides.
  $run "MP4 H.264" --to mp4 --codec h264 --quality 22 --speed balanced -o "$dir/m.mp4" "$src" -- \
    -c:v libx264 -crf 22 -preset medium -level 3.1 -maxrate 17500k -bufsize 17500k -c:a aac -b:a 160k \
    -movflags +faststart "$dir/f.mp4"
}

# The ffmpeg program's arguments for a DVD of a short clip, as `convert --to dvd --ntsc` makes it.
dvd_of_clip=(-target ntsc-dvd -b:v 5000k -b:a 224k)

# "make_clips SECONDS FOLDER COUNT": COUNT copies of a 1280x720 30 fps H.264/AAC clip, as phones make.
make_clips() {
  local seconds=$1 folder=$2 count=$3
  mkdir -p "$folder"
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$seconds" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$seconds" -ac 2 \
    -c:v libx264 -preset veryfast -c:a aac -shortest "$folder/clip01.mp4"
  for i in $(seq -w 2 "$count"); do cp "$folder/clip01.mp4" "$folder/clip$i.mp4"; done
}
