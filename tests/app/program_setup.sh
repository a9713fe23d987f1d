# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the real program on a virtual screen, with the folder of the
# built programs as their argument: $bin, a $work folder removed at exit together with the
# program $pid still running, the user's folders inside it and $kept, the kept task list there.
set -u
bin=$1
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
kept=$work/data/marvane/task-list.json

# Clicks the window's Exit button, at (500, 10), 13 by 16 pixels, and waits for the program $pid
# to end; returns its exit status.
exit_program() {
  local window status
  window=$(xdotool search --onlyvisible --name '^Marvane' | head -n 1)
  xdotool mousemove --window "$window" 506 18 click 1
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  wait "$pid"
  status=$?
  pid=
  return "$status"
}
