#!/usr/bin/env bash
# Drives the vdxlaunch program from the outside, headless: options, a key
# bound and saved (the file differs in that value alone), and what a run
# prints: the duplicate message, START with and without SHOWFPS. (The form's
# rules run whole in tests/screens/launcher_test.cpp.)
set -u
launch=$1
demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {  # expected actual what
  [ "$1" = "$2" ] || fail "$3: exit status $2, expected $1"
}
fresh() {  # a game folder with the demo's settings and key names
  rm -rf "$work/game"
  mkdir -p "$work/game"
  cp "$demo/Game.xml" "$demo/keys.txt" "$demo/launcher.bmp" "$work/game/"
}
run() {  # script text; prints what the run printed
  printf '%s\n' "$1" >"$work/script.txt"
  "$launch" --headless --script "$work/script.txt" --game-dir "$work/game" 2>"$work/err"
}

# Places on the form (see src/launcher/form_layout.h).
keyboard="click 108 164"
gamepad="click 108 244"
start="click 108 344"
exit="click 108 384"
p1_punch="click 348 342"
p2_kick="click 554 376"
fps_box="click 233 223"

out=$("$launch" --help); expect_status 0 $? "--help"
grep -q -- "--headless" <<<"$out" || fail "--help does not list --headless"
out=$("$launch" --version); expect_status 0 $? "--version"
grep -q '^vdxlaunch [0-9]' <<<"$out" || fail "--version prints '$out'"
"$launch" --bogus 2>"$work/err"; expect_status 2 $? "unknown option"
"$launch" --headless 2>"$work/err"; expect_status 2 $? "--headless without a script"
grep -q "needs --script" "$work/err" || fail "--headless alone: $(cat "$work/err")"
fresh
printf 'click 700 10\n' >"$work/bad.txt"
"$launch" --headless --script "$work/bad.txt" --game-dir "$work/game" 2>"$work/err"
expect_status 2 $? "a script with a point off the form"
grep -q "line 1: \"700 10\" is not a point" "$work/err" || fail "script error: $(cat "$work/err")"

# Player 1's Punch (A in the demo) becomes Z: that value alone changes.
fresh
out=$(run "$keyboard
$p1_punch
tap Z
wait 50
$exit")
expect_status 0 $? "bind and EXIT"
[ -z "$out" ] || fail "bind and EXIT printed: $out"
sed '/<Player1Keys/s/Punch="30"/Punch="44"/' "$demo/Game.xml" >"$work/expected.xml"
cmp "$work/expected.xml" "$work/game/Game.xml" || fail "Game.xml differs in more than Punch"
[ "$(cmp -l "$demo/Game.xml" "$work/game/Game.xml" | wc -l)" = 2 ] ||
  fail "not exactly the two bytes of the value changed"

# Player 2's Kick on Z too: the message, and nothing saved.
out=$(run "$keyboard
$p2_kick
tap Z
wait 50
$exit")
expect_status 0 $? "duplicate and EXIT"
[ "$out" = 'message box "Cannot save": Cannot save.  Two, or more of you keys are bound to the same action.' ] ||
  fail "duplicate printed: $out"
grep -q "^vdxlaunch: Cannot save.  Two, or more" "$work/err" ||
  fail "the duplicate message is not on the terminal: $(cat "$work/err")"
cmp "$work/expected.xml" "$work/game/Game.xml" || fail "a duplicate binding was saved"

# START logs the game's start: with SHOWFPS when ticked, else without.
out=$(run "$gamepad
$fps_box
$start")
expect_status 0 $? "START with the frame rate"
# The game beside the launcher, told the game folder.
programs=$(cd "$(dirname "$launch")" && pwd -P)
[ "$out" = "start $programs/vdx --game-dir $work/game SHOWFPS" ] || fail "START with FPS printed: $out"
out=$(run "$start")
[ "$out" = "start $programs/vdx --game-dir $work/game" ] || fail "START printed: $out"
cmp "$work/expected.xml" "$work/game/Game.xml" || fail "START without changes wrote Game.xml"

[ $failures -eq 0 ] && echo "launcher program test passed"
exit $((failures > 0))
