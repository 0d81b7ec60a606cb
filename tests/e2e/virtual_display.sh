# Sourced by the window tests: skips the test (status 77) without Xvfb,
# xwininfo or xdotool; otherwise starts a virtual X display of 1024 x 768 on a
# free-looking number in $display, makes a work folder in $work, and removes
# both when the test ends.
command -v Xvfb >/dev/null || { echo "Xvfb is not installed; skipped"; exit 77; }
command -v xwininfo >/dev/null || { echo "xwininfo is not installed; skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool is not installed; skipped"; exit 77; }
work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.1; done
