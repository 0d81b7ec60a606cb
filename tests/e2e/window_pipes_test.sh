#!/usr/bin/env bash
# The real window with pipes in place of the title movie and the menu music:
# the game never waits on them, it reaches the menu, and SIGTERM (as a desktop
# sends at logout) ends it at once with status 0; the same once more, sent
# while the game is still starting up.
set -u
vdx=$1
game=$2
source "$(dirname "$0")/virtual_display.sh"

cp -r "$game" "$work/game"
g=$work/game
rm -f "$g/log.txt" "$g/Movies/VDTitle.avi" "$g/Stages/Music/menu.ogg"
mkfifo "$g/Movies/VDTitle.avi" "$g/Stages/Music/menu.ogg"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
start() {
  DISPLAY=$display SDL_AUDIODRIVER=dummy ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 \
    "$vdx" 1 --game-dir "$g" 2>"$work/err" &
  game_pid=$!
}
# SIGTERM, then up to 10 s for the game to end.
stop() {  # what
  kill -TERM $game_pid
  for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $game_pid 2>/dev/null; then
    fail "$1: SIGTERM did not end the game within 10 s"
    kill -KILL $game_pid
  fi
  wait $game_pid
  status=$?
  [ $status -eq 0 ] || fail "$1: exit status $status after SIGTERM ($(cat "$work/err"))"
}

start
find_game_window "$g"
[ -n "$window" ] || fail "no window titled '$title' (the game waits on a pipe?)"
sleep 1
stop "at the menu"

# As early as the log shows the window: the movie and music set-up come next.
rm -f "$g/log.txt"
start
for _ in $(seq 150); do [ -s "$g/log.txt" ] && break; sleep 0.05; done
stop "during start-up"

[ $failures -eq 0 ] && echo "window pipes test passed"
exit $failures
