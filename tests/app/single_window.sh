#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside a virtual screen: a second start of the program hands its video to the window
# that runs and ends; the editor opens in that window, and the kept list holds the one task
# after the window closes. A first copy killed with SIGKILL does not block the next start.
#   single_window.sh <folder of the built programs>
. "$(dirname "$0")/program_setup.sh"
ffmpeg -v error -y -f lavfi -i "testsrc=size=320x240:rate=25" -t 1 -c:v mpeg1video "$work/clip.mpg" || exit 1

windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
wait_for_window() {  # title pattern
  for _ in $(seq 300); do
    [ "$(windows "$1")" -ge 1 ] && return 0
    sleep 0.1
  done
  echo "no window '$1' appeared"
  exit 1
}
start_first() {
  "$bin/marvane" &
  pid=$!
  wait_for_window '^Marvane$'
}

start_first
timeout 20 "$bin/marvane" "$work/clip.mpg"
status=$?
[ "$status" = 0 ] || { echo "the second start ended with status $status"; exit 1; }
wait_for_window '^Option$'
[ "$(windows '^Marvane$')" = 1 ] || { echo "$(windows '^Marvane$') main windows are open"; exit 1; }
sleep 0.5
xdotool key --window "$(xdotool search --onlyvisible --name '^Option$' | head -n 1)" Return
for _ in $(seq 100); do
  [ "$(windows '^Option$')" = 0 ] && break
  sleep 0.1
done
exit_program
count=$(grep -c '"sources"' "$kept")
[ "$count" = 1 ] && grep -q "$work/clip.mpg" "$kept" || { echo "the kept list holds $count tasks:"; cat "$kept"; exit 1; }
echo "the handed-over video became the one task of the kept list"

start_first
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=
start_first
echo "a start after a killed copy opened its window"
kill "$pid"
wait "$pid" 2>/dev/null
pid=
exit 0
