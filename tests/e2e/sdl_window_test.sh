#!/usr/bin/env bash
# Starts vdx in a real window on a virtual X display: the window carries the
# game's title, F12 pressed in it writes the frame on screen as
# screenshots/vdx0001.png (640 x 480, the very picture the headless backend
# shows), and closing the game (SIGTERM, as a desktop does at logout) ends it
# with status 0 and the windowed log line.
set -u
vdx=$1
game=$2
source "$(dirname "$0")/virtual_display.sh"

cp -r "$game" "$work/game"
rm -f "$work/game/log.txt"
# The X, D-Bus and GL libraries keep allocations to the end, which a sanitized
# build would report as leaks; ours are checked by the headless tests.
DISPLAY=$display SDL_AUDIODRIVER=dummy ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 "$vdx" 1 --game-dir "$work/game" 2>"$work/err" &
game_pid=$!
title=$(sed -n 's/.*Name="\([^"]*\)".*/\1/p' "$work/game/Game.xml" | head -n 1)
found=0
for _ in $(seq 100); do
  if xwininfo -display "$display" -root -tree 2>/dev/null | grep -qF "\"$title\""; then found=1; break; fi
  sleep 0.1
done
shot="$work/game/screenshots/vdx0001.png"
if [ $found -eq 1 ]; then
  # The window is made hidden and shown later; keys reach it once it is shown.
  find_game_window "$work/game"
  # Held as a player holds a key: the game reads the keyboard once a pass, so
  # a press and release in the same millisecond would pass unseen. Pressed
  # again until the game, still starting up, has a loop that reads it.
  for _ in $(seq 10); do
    [ -n "$window" ] || break
    DISPLAY=$display xdotool windowfocus --sync "$window" keydown F12 sleep 0.3 keyup F12 >/dev/null 2>&1
    for _ in $(seq 10); do [ -f "$shot" ] && break 2; sleep 0.1; done
  done
fi
kill -TERM $game_pid
wait $game_pid
status=$?
failures=0
[ $found -eq 1 ] || { echo "FAIL: no window titled '$title'"; failures=1; }
# The PNG's size is in its header: width and height, 4 bytes each, from byte 16.
size=$(od -An -j16 -N8 --endian=big -tu4 "$shot" 2>/dev/null | xargs)
[ "$size" = "640 480" ] || { echo "FAIL: F12 gave no 640 x 480 screenshot ('$size')"; failures=1; }
grep -qF '"Screenshot screenshots\vdx0001.png"' "$work/game/log.txt" 2>/dev/null ||
  { echo "FAIL: the screenshot is not in log.txt"; failures=1; }
# The same screen in the headless backend gives the same picture, byte for byte.
printf 'wait 300\nscreenshot %s\n' "$work/headless.png" >"$work/shot.txt"
ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 "$vdx" 1 --headless --script "$work/shot.txt" --game-dir "$work/game" >/dev/null 2>&1
cmp -s "$shot" "$work/headless.png" ||
  { echo "FAIL: the screenshot differs from the frame the headless backend shows"; failures=1; }
[ $status -eq 0 ] || { echo "FAIL: exit status $status after SIGTERM"; cat "$work/err"; failures=1; }
grep -q '"Red mask 16711680 Green Mask 65280 Blue Mask 255"' "$work/game/log.txt" 2>/dev/null ||
  grep -q '"Warning, starting in RGB mode.  Some Devices effects may be missing!"' "$work/game/log.txt" 2>/dev/null ||
  { echo "FAIL: log.txt holds: $(cat "$work/game/log.txt" 2>/dev/null)"; failures=1; }
[ $failures -eq 0 ] && echo "window test passed"
exit $failures
