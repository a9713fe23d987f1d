#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside a virtual screen: starts the real program from the build, waits for its window,
# clicks its Exit button and checks that the program ends by itself with status 0.
#   real_window.sh <folder of the built programs>
set -u
bin=$1
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config
# The kept task list, too, stays out of the user's own folders.
export XDG_DATA_HOME=$config/data
# The tests draw offscreen; this program draws on the virtual screen.
export QT_QPA_PLATFORM=xcb
# In a sanitizer build, the X and font libraries hold allocations until the process ends; the
# widget tests check the program's own code for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"$bin/marvane" &
pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvane$' 2>/dev/null | head -n 1)
if [ -z "$window" ]; then
  echo "no Marvane window appeared"
  kill "$pid" 2>/dev/null
  exit 1
fi
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
echo "window $window, $geometry"
if [ "$geometry" != "544x442" ]; then
  echo "the window is not the main window"
  kill "$pid" 2>/dev/null
  exit 1
fi

sleep 0.5
# Exit lies at (500, 10), 13 by 16 pixels.
xdotool mousemove --window "$window" 506 18 click 1
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the program did not end on Exit"
  kill "$pid"
  exit 1
fi
wait "$pid"
status=$?
echo "ended with status $status"
exit "$status"
