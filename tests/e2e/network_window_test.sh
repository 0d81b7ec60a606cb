#!/usr/bin/env bash
# Two game windows on one virtual display play one match over the network:
# keys go into the host's window (player 1), the joining side's computer plays
# player 2. Paused, both windows must show the same fighters where they stand
# (the sky's scenery goes on moving under the pause, and each side may stand a
# frame or two apart in it); at the end both sides must have written the same
# frame hashes.
set -u
vdx=$1
game=$2
source "$(dirname "$0")/virtual_display.sh"
command -v import >/dev/null || { echo "ImageMagick is not installed; skipped"; exit 77; }

# Two copies of one folder (each side writes its own log), without weather,
# so that a paused picture holds still.
for side in host join; do
  cp -r "$game" "$work/$side"
  sed -i 's/Weather="True"/Weather="False"/' "$work/$side/Game.xml"
done
port=$((20000 + $$ % 20000 + 7))
export SDL_AUDIODRIVER=dummy ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0
DISPLAY=$display "$vdx" 1 --game-dir "$work/host" --host "$port" --versus Kira,Brann \
  --stage Harbour --rounds 1 --matches 1 --frame-hashes "$work/host.txt" \
  >"$work/host.out" 2>"$work/host.err" &
host=$!
sleep 1
DISPLAY=$display "$vdx" 1 --game-dir "$work/join" --join "127.0.0.1:$port" --cpu local \
  --rounds 1 --frame-hashes "$work/join.txt" >"$work/join.out" 2>"$work/join.err" &
join=$!
trap 'kill $host $join 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

window_of() {  # pid
  local w=""
  for _ in $(seq 150); do
    w=$(DISPLAY=$display xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  echo "$w"
}
host_window=$(window_of $host)
join_window=$(window_of $join)
[ -n "$host_window" ] && [ -n "$join_window" ] || {
  echo "FAIL: the windows did not show"; cat "$work/host.err" "$work/join.err"; exit 1; }
# Side by side, so both can be seen.
DISPLAY=$display xdotool windowmove "$host_window" 0 0 windowmove "$join_window" 380 280
keys() { DISPLAY=$display xdotool windowfocus --sync "$host_window" "$@" >/dev/null 2>&1; }
sleep 3
shot() {  # window file: the window on top, then its picture
  DISPLAY=$display xdotool windowraise "$1"
  sleep 0.3
  import -display "$display" -window "$1" "$2"
}
# Paused as the fight begins (a fighter takes the pause only while it stands
# idle, so before the other comes near; Escape again if it was not taken).
paused=0
for _ in 1 2 3 4 5; do
  keys keydown Escape sleep 0.4 keyup Escape
  sleep 1.5
  shot "$host_window" "$work/host.png"
  # The pause menu's pink panel.
  pixel=$(convert "$work/host.png" -format '%[pixel:p{215,240}]' info: 2>/dev/null)
  case "$pixel" in *255,200,200*) paused=1; break ;; esac
done
failures=0
[ $paused -eq 1 ] || { echo "FAIL: the pause menu did not open in the host's window ($pixel)"; failures=1; }
# Both sides stand paused in the same fight. Each window shows its latest
# frame, and a standing fighter breathes (its outline moves by a pixel or
# two), so the two are looked at until both show the pause menu, the same
# health bars, and their fighters where the other's stand: a breath apart at
# most, under a sixth of the ground's 121,600 pixels (fighters elsewhere
# differ in far more). That the fights are the same frame for frame, the
# frame hashes below prove.
same=0
for _ in $(seq 15); do
  shot "$host_window" "$work/host.png"
  shot "$join_window" "$work/join.png"
  differs=0
  for area in 118x8+42+51 118x8+476+51; do
    differ=$(compare -metric AE -extract "$area" "$work/host.png" "$work/join.png" null: 2>&1)
    [ "${differ%% *}" = 0 ] || differs=1
  done
  ground=$(compare -metric AE -extract 640x190+0+290 "$work/host.png" "$work/join.png" null: 2>&1)
  ground=${ground%% *}
  [ "${ground%.*}" -le 20000 ] 2>/dev/null || differs=1
  pixel=$(convert "$work/join.png" -format '%[pixel:p{215,240}]' info: 2>/dev/null)
  case "$pixel" in *255,200,200*) ;; *) differs=1 ;; esac
  [ $differs -eq 0 ] && { same=1; break; }
done
[ $same -eq 1 ] || { echo "FAIL: the paused windows never showed the same fight (the ground differs in $ground pixels)"; failures=1; }
[ -n "${VDX_SCREENSHOTS:-}" ] && mkdir -p "$VDX_SCREENSHOTS" && cp "$work/host.png" "$work/join.png" "$VDX_SCREENSHOTS/"
# Continue, then player 1 walks in and fights back a little.
keys keydown a sleep 0.2 keyup a sleep 0.5
keys keydown Right sleep 0.8 keyup Right
keys keydown a sleep 0.2 keyup a sleep 0.4
keys keydown s sleep 0.2 keyup s sleep 0.4
# The joining side's computer finishes the match; both runs end.
for _ in $(seq 1800); do
  kill -0 $host 2>/dev/null || kill -0 $join 2>/dev/null || break
  sleep 0.1
done
wait $host; hosted=$?
wait $join; joined=$?
cat "$work/host.out" "$work/join.out"
[ $hosted -eq 0 ] || { echo "FAIL: the host ended with $hosted"; cat "$work/host.err"; failures=1; }
[ $joined -eq 0 ] || { echo "FAIL: the joining side ended with $joined"; cat "$work/join.err"; failures=1; }
states=$(cut -d' ' -f2 "$work/host.txt" | sort -u | wc -l)
[ "$states" -gt 100 ] || { echo "FAIL: only $states states"; failures=1; }
cmp -s "$work/host.txt" "$work/join.txt" || { echo "FAIL: the two sides' frame hashes differ"; failures=1; }
[ $failures -eq 0 ] && echo "two windows, one match: $(wc -l <"$work/host.txt") frames alike"
exit $failures
