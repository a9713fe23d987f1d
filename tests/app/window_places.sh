#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside a virtual screen: starts the real program, with or without a window manager, and
# checks where things appear as a user would see them: the Tools and Help menus at their buttons,
# the audio tool, the About box and a message box centred over the window, and a drag that moves
# the window by exactly the pointer's movement.
#   window_places.sh <folder of the built programs> wm|nowm
set -u
bin=$1
mode=$2
config=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$config"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$config
export HOME=$config
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Repeats a command every 0.1 s until it succeeds, for at most $1 tenths of a second.
wait_until() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# "x y width height" of a window, its inside on the screen.
place_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                           /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}

visible_windows() {
  xdotool search --onlyvisible --classname marvane 2>/dev/null | sort
}

# The program's window that appeared since the list in $before; empty when none did.
new_window() {
  comm -13 <(echo "$before") <(visible_windows) | grep -v "^$main$" | head -n 1
}
appeared() {
  shown=$(new_window)
  [ -n "$shown" ]
}
gone() {
  [ -z "$(new_window)" ]
}

near() {  # near <got> <wanted> <tolerance>
  local d=$(($1 - $2))
  [ "${d#-}" -le "$3" ]
}

if [ "$mode" = wm ]; then
  if ! command -v openbox >/dev/null; then
    echo "SKIP: openbox is not installed"
    exit 0
  fi
  # openbox's own configuration less its Alt+Space binding, so the key reaches the program.
  mkdir -p "$config/openbox"
  sed '/<keybind key="A-space">/,/<\/keybind>/d' /etc/xdg/openbox/rc.xml >"$config/openbox/rc.xml"
  # A machine busy with other tests can take a while to start it, and now and then its first
  # connection to the new screen is refused: it is started again when it has ended.
  started=0
  for attempt in 1 2 3; do
    openbox --sm-disable >>"$config/openbox.log" 2>&1 &
    wm=$!
    pids+=($wm)
    if wait_until 400 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || ! kill -0 $wm 2>/dev/null" &&
      kill -0 "$wm" 2>/dev/null; then
      started=1
      break
    fi
  done
  [ $started = 1 ] || { echo "openbox did not start:"; cat "$config/openbox.log"; exit 1; }
fi

# The program opens links through the desktop: xdg-open or a browser found on its PATH, or the
# one BROWSER names. Given none, on a PATH of its own, the guide's link opens nothing on any
# machine, and the message box saying so appears.
mkdir -p "$config/no-openers"
env -u BROWSER -u DEFAULT_BROWSER -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u QT_QPA_PLATFORMTHEME \
  PATH="$config/no-openers" "$bin/marvane" &
pids+=($!)
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvane$' 2>/dev/null | head -n 1)
if [ -z "$main" ]; then
  echo "no Marvane window appeared"
  exit 1
fi
# The window manager may place a window after it is mapped: true once it stayed put for a tenth
# of a second.
settled() {
  local now
  now=$(place_of "$1")
  [ "$now" = "${last_place:-}" ] && return 0
  last_place=$now
  return 1
}
last_place=
wait_until 30 settled "$main"
read -r wx wy ww wh < <(place_of "$main")
echo "$mode: window at $wx,$wy size ${ww}x$wh"

# Ends the check when the program's window is gone (a key that missed its menu closed it).
require_window() {
  if ! xwininfo -id "$main" >/dev/null 2>&1; then
    fail "the window is gone"
    exit 1
  fi
}

# A menu opens with its corner at the bottom-left corner of its button.
check_menu() {  # check_menu <name> <button x> <button y> <button height>
  require_window
  before=$(visible_windows)
  xdotool mousemove --sync $((wx + $2 + 5)) $((wy + $3 + 5)) click 1
  if ! wait_until 50 appeared; then
    fail "the $1 menu did not open"
    return
  fi
  read -r mx my _ _ < <(place_of "$shown")
  echo "$1 menu at $mx,$my"
  if ! near "$mx" $((wx + $2)) 3 || ! near "$my" $((wy + $3 + $4)) 3; then
    fail "the $1 menu opened at $mx,$my, not at its button's corner $((wx + $2)),$((wy + $3 + $4))"
  fi
}

# Picks a menu entry with the keys given and Return, once the menu has taken the keyboard.
# The windows shown before are kept, so the dialog that the entry opens is found as new.
choose() {
  sleep 0.2
  before=$(visible_windows)
  xdotool key --delay 100 "$@" Return
}

# A dialog opens centred over the window.
check_centred() {  # check_centred <what>
  if ! wait_until 50 appeared; then
    fail "$1 did not open"
    return 1
  fi
  last_place=
  wait_until 30 settled "$shown"
  read -r dx dy dw dh < <(place_of "$shown")
  echo "$1 at $dx,$dy size ${dw}x$dh"
  # A window manager's frame may shift the dialog by its own size.
  if ! near $((dx + dw / 2)) $((wx + ww / 2)) 60 || ! near $((dy + dh / 2)) $((wy + wh / 2)) 60; then
    fail "$1 is not centred over the window: its centre is $((dx + dw / 2)),$((dy + dh / 2)), the window's $((wx + ww / 2)),$((wy + wh / 2))"
  fi
}

# Closes the dialog shown with a key (Escape unless named).
close_shown() {
  xdotool key "${1:-Escape}"
  wait_until 30 gone || fail "the dialog did not close"
}

# Before any click the window menu opens from the keyboard at the window's corner.
require_window
xdotool windowfocus "$main"
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ]; }
wait_until 50 has_focus || fail "the window did not take the keyboard"
sleep 0.2
before=$(visible_windows)
xdotool key alt+space
if wait_until 100 appeared; then
  read -r mx my _ _ < <(place_of "$shown")
  echo "window menu at $mx,$my"
  near "$mx" "$wx" 3 && near "$my" "$wy" 3 || fail "the window menu opened at $mx,$my, not at the window's corner $wx,$wy"
  close_shown
else
  fail "Alt+Space opened no window menu"
fi

# Tools lies at (14, 185), 46 by 45; Help at (460, 10), 13 by 16.
check_menu Tools 14 185 45
choose Down Down  # Extract audio from video file
check_centred "the audio tool" && close_shown

check_menu Help 460 10 16
choose Up Up  # About Marvane
check_centred "the About box" && close_shown

# Content: the desktop of the virtual screen opens nothing, and a message box says so.
check_menu Help 460 10 16
choose Down
check_centred "the message box" && close_shown Return

# A drag on the window's own surface (above the task list, beside the emblem) moves it by the
# pointer's movement, the first time too.
require_window
xdotool mousemove --sync $((wx + 200)) $((wy + 18)) mousedown 1
# Under a window manager the press hands the move to it; a hand takes longer than that to move,
# a script on a loaded machine may not.
sleep 0.3
for step in 1 2 3 4 5; do
  xdotool mousemove --sync $((wx + 200 + step * 20)) $((wy + 18 + step * 10))
  sleep 0.05
done
xdotool mouseup 1
moved() {
  read -r nx ny _ _ < <(place_of "$main")
  [ "$nx" -eq $((wx + 100)) ] && [ "$ny" -eq $((wy + 50)) ]
}
if ! wait_until 30 moved; then
  fail "a drag of 100,50 moved the window from $wx,$wy to $nx,$ny"
else
  echo "dragged to $nx,$ny"
fi
wx=$nx
wy=$ny
check_menu Tools 14 185 45
xdotool key Escape

# Exit lies at (500, 10), 13 by 16 pixels.
xdotool mousemove --sync $((wx + 506)) $((wy + 18)) click 1
program=${pids[-1]}
wait_until 100 sh -c "! kill -0 $program 2>/dev/null" || fail "the program did not end on Exit"
echo "$failures failures"
[ "$failures" -eq 0 ]
