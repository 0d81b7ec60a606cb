#!/usr/bin/env bash
# Starts vdxlaunch in a real window on a virtual X display and drives it with
# xdotool: a click on "Keyboard Setup", a click into player 1's Punch box, Z
# typed on the keyboard, and EXIT. Game.xml then differs in that value
# alone, and the window showed the very frame a headless run of the same
# clicks draws.
set -u
launch=$1
demo=$2
for tool in import compare; do
  command -v $tool >/dev/null || { echo "$tool is not installed; skipped"; exit 77; }
done
source "$(dirname "$0")/virtual_display.sh"
launcher=""
trap 'kill $launcher $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display

mkdir -p "$work/game"
cp "$demo/Game.xml" "$demo/keys.txt" "$demo/launcher.bmp" "$work/game/"
cp -r "$work/game" "$work/headless"
# The X libraries keep allocations to the end, which a sanitized build would
# report as leaks; ours are checked by the headless tests.
ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 "$launch" --game-dir "$work/game" 2>"$work/err" &
launcher=$!
window=""
# The window is made hidden and shown once the form is ready.
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Vandrel Unveiled$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ -n "$window" ] || { fail "no window titled 'Vandrel Unveiled'"; cat "$work/err"; exit 1; }

# With no window manager the focus is given by hand, as a click would.
for _ in $(seq 50); do
  xdotool windowfocus "$window" 2>/dev/null
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
  sleep 0.1
done
sleep 0.5
# Rested for a while after each step: the form reads the mouse once a frame.
xdotool mousemove --window "$window" 108 164 click 1
sleep 0.5
xdotool mousemove --window "$window" 348 342 click 1
sleep 0.5
# Down and up at once, as a quick typist's tap, mostly between two frames of
# the form: the key the window was sent binds all the same.
xdotool key z
sleep 0.5
import -window "$window" "$work/window.png"

# The same clicks and key, headless: the same frame.
cat >"$work/script.txt" <<SCRIPT
wait 100
click 108 164
wait 200
click 348 342
wait 200
tap Z
wait 300
screenshot $work/headless.png
SCRIPT
"$launch" --headless --script "$work/script.txt" --game-dir "$work/headless" >/dev/null 2>&1
differing=$(compare -metric AE "$work/window.png" "$work/headless.png" null: 2>&1)
[ "$differing" = 0 ] || fail "the window's frame differs from the headless one in $differing pixels"

xdotool mousemove --window "$window" 108 384 click 1
for _ in $(seq 50); do kill -0 $launcher 2>/dev/null || break; sleep 0.1; done
if kill -0 $launcher 2>/dev/null; then
  fail "EXIT did not close the launcher"
else
  wait $launcher
  status=$?
  [ $status -eq 0 ] || { fail "exit status $status"; cat "$work/err"; }
fi
launcher=""
sed '/<Player1Keys/s/Punch="30"/Punch="44"/' "$demo/Game.xml" >"$work/expected.xml"
cmp "$work/expected.xml" "$work/game/Game.xml" || fail "Game.xml is not the demo's with Punch 44"

[ $failures -eq 0 ] && echo "launcher window test passed"
exit $((failures > 0))
