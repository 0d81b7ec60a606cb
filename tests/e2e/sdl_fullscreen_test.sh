#!/usr/bin/env bash
# Full screen and Alt+Enter on a bare X server, with no window manager to help:
# the window shows the whole 640 x 480 frame; full screen shows it whole too,
# scaled to the screen's height between black bars; Alt+Enter again gives the
# window back at its windowed size and place. Started without the "1" argument
# the game comes up full screen the same way. The pictures are screenshots of
# the X server compared with the frame the headless backend draws.
set -u
vdx=$1
game=$2
command -v Xvfb >/dev/null || { echo "Xvfb is not installed; skipped"; exit 77; }
for tool in xwininfo xdotool import convert compare; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is missing; scripts/install-deps.sh installs it"; exit 1; }
done
work=$(mktemp -d)
game_pid=
# VDX_KEEP_SHOTS=folder keeps the screenshots there, to look at.
trap '[ -n "$game_pid" ] && kill $game_pid 2>/dev/null; kill $xvfb 2>/dev/null
      [ -n "${VDX_KEEP_SHOTS:-}" ] && cp "$work"/*.png "$VDX_KEEP_SHOTS"/
      rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp -r "$game" "$work/game"
title=$(sed -n 's/.*Name="\([^"]*\)".*/\1/p' "$work/game/Game.xml" | head -n 1)

# The frame the game shows after its start, as the headless backend draws it.
printf 'wait 500\nscreenshot %s/expected.png\nquit\n' "$work" >"$work/shot.txt"
"$vdx" 1 --headless --script "$work/shot.txt" --game-dir "$work/game" ||
  { echo "FAIL: the headless run for the expected frame"; exit 1; }

# A 16:9 screen, so that full screen has bars left and right. Xvfb picks a free
# display itself, so tests running side by side do not meet. By default it
# starts itself afresh when its last client leaves, and a game started in that
# moment finds no display: -noreset, since the game is started twice.
screen_w=1280
screen_h=720
Xvfb -displayfd 3 -noreset -screen 0 ${screen_w}x${screen_h}x24 -nolisten tcp \
  3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n 1 "$work/display")"
[ "$display" != ":" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=$display

# The 4:3 picture in full screen: the screen's height, centred.
full_w=$((screen_h * 640 / 480))
full_x=$(((screen_w - full_w) / 2))
windowed_x=$(((screen_w - 640) / 2))
windowed_y=$(((screen_h - 480) / 2))

# "x y width height" of the game window, nothing while it is not on screen.
geometry() {
  xwininfo -name "$title" 2>/dev/null | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } /Map State: IsViewable/ { shown = 1 }
    END { if (shown) print x, y, w, h }'
}
wait_geometry() {  # "x y w h" what
  for _ in $(seq 50); do [ "$(geometry)" = "$1" ] && return 0; sleep 0.1; done
  fail "$2: the window is at '$(geometry)', expected '$1'"
  return 1
}
# The screenshot's part x y w h, scaled to 640 x 480, against the expected frame:
# the normalised root mean square error, 0 for the same picture.
frame_error() {  # shot x y w h
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -resize '640x480!' "$work/part.png"
  compare -metric RMSE "$work/part.png" "$work/expected.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}
is_black() {  # shot x y w h
  [ "$(convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -format '%[max]' info:)" = 0 ]
}
# Screenshots until the picture is the expected frame (the first frames may
# still be on their way), then keeps the last one as NAME.png.
shows_frame() {  # name x y w h
  local error=
  for _ in $(seq 20); do
    import -window root "$work/$1.png"
    error=$(frame_error "$work/$1.png" "$2" "$3" "$4" "$5")
    awk -v e="$error" 'BEGIN { exit !(e != "" && e < 0.03) }' && return 0
    sleep 0.2
  done
  fail "$1: the picture at ${4}x${5}+${2}+${3} is not the whole frame (error ${error:-none})"
  return 1
}
check_full_screen() {  # name
  wait_geometry "0 0 $screen_w $screen_h" "$1" || return
  shows_frame "$1" $full_x 0 $full_w $screen_h
  is_black "$work/$1.png" 0 0 $full_x $screen_h || fail "$1: the left bar is not black"
  is_black "$work/$1.png" $((full_x + full_w)) 0 $((screen_w - full_x - full_w)) $screen_h ||
    fail "$1: the right bar is not black"
}
check_windowed() {  # name
  wait_geometry "$windowed_x $windowed_y 640 480" "$1" || return
  shows_frame "$1" $windowed_x $windowed_y 640 480
}
alt_enter() {
  xdotool search --name "^$title\$" windowfocus --sync >/dev/null 2>&1
  xdotool key alt+Return
}
start_game() {  # vdx arguments
  SDL_AUDIODRIVER=dummy ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 \
    "$vdx" "$@" --game-dir "$work/game" 2>"$work/err" &
  game_pid=$!
}
# SIGTERM ends the game with status 0. A game that failed to start waits for
# its message box to be closed; after 5 s it is ended so that the test goes on.
stop_game() {  # what
  kill -TERM $game_pid
  for _ in $(seq 50); do
    case $(ps -o stat= -p $game_pid) in "" | Z*) break ;; esac
    sleep 0.1
  done
  case $(ps -o stat= -p $game_pid) in "" | Z*) ;; *) kill -KILL $game_pid ;; esac
  wait $game_pid
  local status=$?
  game_pid=
  [ $status -eq 0 ] || { fail "$1: exit status $status after SIGTERM"; cat "$work/err"; }
}

start_game 1
check_windowed "windowed"
alt_enter
check_full_screen "alt-enter-full-screen"
alt_enter
check_windowed "alt-enter-windowed"
stop_game "windowed start"

start_game
check_full_screen "full-screen-start"
alt_enter
check_windowed "full-screen-start-windowed"
stop_game "full-screen start"

[ $failures -eq 0 ] && echo "full screen test passed"
exit $failures
