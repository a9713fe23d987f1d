# Shared by the conversion benches, sourced after they change to the project folder.
#   bench_setup BUILD_DIR   sets $cli (the built companion) and $work (a folder removed at exit)
#   make_source SECONDS FILE   writes a 1280x720 25 fps MPEG-4 source with 48 kHz stereo MP3 sound

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
