# Sourced by the window tests: skips the test (status 77) without Xvfb,
# xwininfo or xdotool; otherwise starts a virtual X display of 1024 x 768 in
# $display, makes a work folder in $work, and removes both when the test ends.
command -v Xvfb >/dev/null || { echo "Xvfb is not installed; skipped"; exit 77; }
command -v xwininfo >/dev/null || { echo "xwininfo is not installed; skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool is not installed; skipped"; exit 77; }
work=$(mktemp -d)
# Xvfb picks a free display number itself and says which, so window tests
# running at the same time never meet on one; -noreset keeps it as it is
# between one client and the next.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n 1 "$work/display")"
for _ in $(seq 50); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.1; done

# Waits up to 15 s for the game's window, the visible one with the title that
# Game.xml of the game folder gives, and puts its id in $window (empty when
# none showed) and the title in $title.
find_game_window() {  # game folder
  title=$(sed -n 's/.*Name="\([^"]*\)".*/\1/p' "$1/Game.xml" | head -n 1)
  window=""
  for _ in $(seq 150); do
    window=$(DISPLAY=$display xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)
    [ -n "$window" ] && return
    sleep 0.1
  done
}
