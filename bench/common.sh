# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the conversion benches, sourced after they change to the project folder.
#   bench_setup BUILD_DIR   sets $cli (the built companion) and $work (a folder removed at exit)
#   make_source SECONDS FILE   writes a 1280x720 25 fps MPEG-4 source with 48 kHz stereo MP3 sound
#   median_of_three ARGS...    "wall cpu" of marvane-cli convert ARGS (outputs named $work/out*)

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
