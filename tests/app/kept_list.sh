#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside a virtual screen: the real program restores a kept list of three tasks, runs it,
# is killed with SIGKILL once the first task is done, and on its next start finds the list
# again with the first task done and converts only the other two.
#   kept_list.sh <folder of the built programs>
. "$(dirname "$0")/program_setup.sh"
mkdir -p "$work/data/marvane"

make_clip() {  # seconds, file
  ffmpeg -v error -y -f lavfi -i "testsrc=size=320x240:rate=25" -f lavfi -i "sine=frequency=440" \
    -t "$1" -c:v mpeg1video -q:v 4 -c:a mp2 "$2" || exit 1
}
make_clip 1 "$work/short.mpg"
make_clip 12 "$work/long.mpg"

task() {  # source, output
  cat <<TASK
    {"sources": ["$1"], "output": "$2", "description": "To DVD", "status": "Waiting", "kind": 4,
     "split": {"enabled": false, "seconds": 0},
     "settings": {"width": 720, "height": 576, "keepSourceSize": false, "videoOnly": false, "frameRate": 25,
                  "videoCompressor": 0, "audioCompressor": 0, "wmvProfile": 0, "mpegFrameRateIndex": 0,
                  "vbr": false, "vbrQuality": 0, "videoBitRate": 5000, "audioBitRate": 224}}
TASK
}
{
  echo '{"format": "marvane-task-list", "version": 1, "tasks": ['
  task "$work/short.mpg" "$work/out1.mpg"; echo ','
  task "$work/long.mpg" "$work/out2.mpg"; echo ','
  task "$work/long.mpg" "$work/out3.mpg"
  echo ']}'
} > "$kept"

statuses() {
  grep -o '"status": "[A-Za-z]*"' "$kept" | sed 's/.*: "//; s/"//' | tr '\n' ' '
}

start_and_execute() {
  "$bin/marvane" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvane' 2>/dev/null | head -n 1)
  if [ -z "$window" ]; then
    echo "no Marvane window appeared"
    exit 1
  fi
  sleep 0.5
  # Execute lies at (448, 330), 65 by 65 pixels.
  xdotool mousemove --window "$window" 480 362 click 1
}

wait_for_statuses() {  # expected, tenths of a second
  for _ in $(seq "$2"); do
    [ "$(statuses)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "statuses are '$(statuses)', not '$1'"
  exit 1
}

start_and_execute
wait_for_statuses "Done Waiting Waiting " 600
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=
echo "killed with the statuses $(statuses)"
[ "$(statuses)" = "Done Waiting Waiting " ] || { echo "the kept list changed after the kill"; exit 1; }
[ -s "$work/out1.mpg" ] || { echo "the first output is missing"; exit 1; }
[ -e "$work/out2.mpg" ] && { echo "the second output exists before its task was done"; exit 1; }
first=$(stat -c %Y.%s "$work/out1.mpg")
temporaries() { find "$work" -maxdepth 1 -name '.out*.mpg.part-*' | wc -l; }
echo "the killed run left $(temporaries) temporary files"

sleep 1.1
start_and_execute
wait_for_statuses "Done Done Done " 1200
[ "$(stat -c %Y.%s "$work/out1.mpg")" = "$first" ] || { echo "the done task was converted again"; exit 1; }
[ -s "$work/out2.mpg" ] && [ -s "$work/out3.mpg" ] || { echo "the waiting tasks were not converted"; exit 1; }
[ "$(temporaries)" -eq 0 ] || { echo "the killed run's temporary file is still there"; exit 1; }
exit_program
status=$?
echo "restored and finished; ended with status $status"
exit "$status"
