#!/usr/bin/env bash
# Drives the vdx program from the outside: options, the content check, headless
# scripts, and a full-screen start without a display.
set -u
vdx=$1
fixtures=$2
demo=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {  # expected actual what
  [ "$1" = "$2" ] || fail "$3: exit status $2, expected $1"
}

cp -r "$fixtures/game" "$work/game"

# --help and --version answer and leave.
out=$("$vdx" --help); expect_status 0 $? "--help"
grep -q -- "--check-content" <<<"$out" || fail "--help does not list --check-content"
out=$("$vdx" --version); expect_status 0 $? "--version"
grep -q '^vdx [0-9]' <<<"$out" || fail "--version prints '$out'"
"$vdx" --bogus 2>"$work/err"; expect_status 2 $? "unknown option"
grep -q "unknown option --bogus" "$work/err" || fail "unknown option message: $(cat "$work/err")"
"$vdx" 1 -x 2>"$work/err"; expect_status 2 $? "a one-dash option"
grep -q "unknown option -x" "$work/err" || fail "one-dash option message: $(cat "$work/err")"

# A wrong game folder is named, with the way to give the right one.
printf 'wait 50\nquit\n' >"$work/quick.txt"
"$vdx" 1 --headless --script "$work/quick.txt" --game-dir "$work/no-such-game" 2>"$work/err"
expect_status 1 $? "a missing game folder"
grep -qF "No game in the folder $work/no-such-game (the folder does not exist); give the game's folder with --game-dir DIR" "$work/err" ||
  fail "missing game folder message: $(cat "$work/err")"
"$vdx" 1 --headless --script "$work/quick.txt" --game-dir "$work/quick.txt" 2>"$work/err"
expect_status 1 $? "a file as the game folder"
grep -qF "No game in the folder $work/quick.txt (it is not a folder)" "$work/err" ||
  fail "a file as the game folder: $(cat "$work/err")"

# A script takes a screenshot of the start-up picture and quits.
cat >"$work/run.txt" <<SCRIPT
# the menu background is on screen after a moment
wait 100
screenshot $work/start.png
tap Escape
quit
SCRIPT
"$vdx" 1 --headless --script "$work/run.txt" --game-dir "$work/game"
expect_status 0 $? "headless script"
[ -s "$work/start.png" ] || fail "no screenshot was written"
head -c 8 "$work/start.png" | od -An -c | grep -q 'P   N   G' || fail "the screenshot is not a PNG"
grep -q '"Red mask 16711680 Green Mask 65280 Blue Mask 255"' "$work/game/log.txt" ||
  fail "the windowed log line is missing: $(cat "$work/game/log.txt")"

# SIGTERM closes a headless run as the close button would: status 0.
printf 'wait 600000\n' >"$work/long.txt"
rm -f "$work/game/log.txt"
"$vdx" 1 --headless --script "$work/long.txt" --game-dir "$work/game" &
pid=$!
# The display's first log record comes after the signals are taken over; a
# loaded machine (or a sanitizer build) may take seconds to get there.
for _ in $(seq 200); do [ -s "$work/game/log.txt" ] && break; sleep 0.1; done
kill -TERM $pid
wait $pid
expect_status 0 $? "headless run ended by SIGTERM"

# On the demo folder the title movie plays first: its frames change, and
# Escape (player 1's E) ends it.
if [ -n "$demo" ]; then
  cat >"$work/title.txt" <<SCRIPT
wait 600
screenshot $work/title1.png
wait 1800
screenshot $work/title2.png
tap Escape
wait 300
screenshot $work/after.png
SCRIPT
  "$vdx" 1 --headless --script "$work/title.txt" --game-dir "$demo"
  expect_status 0 $? "title movie script"
  cmp -s "$work/title1.png" "$work/title2.png" && fail "the title movie shows the same frame at 0.6 s and 2.4 s"
  cmp -s "$work/title2.png" "$work/after.png" && fail "Escape did not end the title movie"

  # From the menu, Exit (the last item: Down held walks there) ends the game
  # with status 0 and opens the help page.
  cat >"$work/exit.txt" <<SCRIPT
wait 800
tap Escape
wait 400
press Down
wait 1000
release Down
wait 300
press A
wait 150
release A
wait 60000
screenshot $work/never.png
SCRIPT
  out=$("$vdx" 1 --headless --script "$work/exit.txt" --game-dir "$demo")
  expect_status 0 $? "Exit from the menu"
  grep -qxF "open $demo/HTML/Vandrel.htm" <<<"$out" || fail "Exit did not open the help page: $out"
  [ -e "$work/never.png" ] && fail "the game went on after Exit"
fi

# A Game.xml that is not XML ends start-up with a message naming the file, the
# line and the reason, and a failure status.
cp -r "$fixtures/game" "$work/broken"
printf '<Game>\n  <Characters>\n</Game>\n' >"$work/broken/Game.xml"
"$vdx" 1 --headless --script "$work/long.txt" --game-dir "$work/broken" 2>"$work/err"
expect_status 1 $? "an unreadable Game.xml"
grep -q 'Error loading Vandrel...Aborting....: .*Game.xml line 3: the file is not well-formed XML' "$work/err" ||
  fail "unreadable Game.xml message: $(cat "$work/err")"

# A step that loading skipped is logged, and standard error points to the check.
printf '<Game Name="X"><Characters><Character Name="K" Health="lots"/></Characters></Game>\n' \
  >"$work/broken/Game.xml"
printf 'wait 50\nquit\n' >"$work/short.txt"
"$vdx" 1 --headless --script "$work/short.txt" --game-dir "$work/broken" 2>"$work/err"
expect_status 0 $? "a Game.xml with a bad value"
grep -q 'problem.* in the game folder (listed in log.txt); run vdx --check-content' "$work/err" ||
  fail "no pointer to the content check: $(cat "$work/err")"
grep -q 'attribute Health: "lots" is not an Integer' "$work/broken/log.txt" ||
  fail "the skipped step is not in log.txt: $(cat "$work/broken/log.txt")"

# A headless run without a script could never end: refused.
"$vdx" 1 --headless --game-dir "$work/game" 2>"$work/err"
expect_status 2 $? "headless without a script"
grep -q -- '--headless needs --script' "$work/err" || fail "headless without a script: $(cat "$work/err")"

# A mistake in a script is named with its line.
printf 'wait 10\njump high\n' >"$work/bad.txt"
"$vdx" --headless --script "$work/bad.txt" --game-dir "$work/game" 2>"$work/err"
expect_status 2 $? "bad script"
grep -q 'line 2: unknown command "jump"' "$work/err" || fail "bad script message: $(cat "$work/err")"

# A screenshot that cannot be written makes the run fail.
printf 'screenshot %s/no/such/folder/x.png\n' "$work" >"$work/noshot.txt"
"$vdx" 1 --headless --script "$work/noshot.txt" --game-dir "$work/game" 2>"$work/err"
expect_status 1 $? "unwritable screenshot"

# The content check lists every fault of a faulty folder.
"$vdx" --check-content --game-dir "$fixtures/faulty_game" >"$work/check.txt"
expect_status 1 $? "check-content on a faulty folder"
for expected in \
  'Game.xml line 2, Game, attribute Rounds: "three" is not an Integer' \
  'attribute MusicVolume: 150 is outside 0..100; 100 is used' \
  'Character "Kira", attribute TransColor: "0000FF" is not a colour' \
  'Action "punch": the key "punch" is already taken by an earlier Action' \
  'Effect "Spark", attribute ActionName: "Kick" names no Action written before this Effect' \
  'Effect "Spark": NextEffect names no Effect "Burst" of the character' \
  'Character "KIRA": the key "KIRA" is already taken by an earlier Character' \
  'ai.xml: the file is missing' \
  'story.xml line 1: the file is not well-formed XML' \
  '\Stages\harbour.bmp (Stage "Harbour" Background)' \
  '\Stages\Music\harbour.ogg (Stage "Harbour" Music)' \
  '\Characters\Kira\Punch\punch01.bmp'; do
  grep -qF -- "$expected" "$work/check.txt" || fail "check-content does not say: $expected"
done
"$vdx" --check-content --game-dir "$work/nowhere" >/dev/null; expect_status 1 $? "check-content on no folder"

# The same report as JSON, for tools.
"$vdx" --check-content --json --game-dir "$fixtures/faulty_game" >"$work/check.json"
expect_status 1 $? "check-content --json on a faulty folder"
grep -q '"clean": false' "$work/check.json" || fail "the JSON report is not marked unclean"
grep -qF '{"kind": "missing", "file": "\\Stages\\harbour.bmp", "neededBy": ["Stage \"Harbour\" Background"]' \
  "$work/check.json" || fail "the JSON report lacks the missing background: $(head -c 600 "$work/check.json")"
if [ -n "$demo" ]; then
  "$vdx" --check-content --json --game-dir "$demo" | grep -q '"clean": true' ||
    fail "the demo folder's JSON report is not clean"
fi
"$vdx" --json 2>/dev/null; expect_status 2 $? "--json without --check-content"

# A copy of the demo with damage of every kind the check opens files for.
if [ -n "$demo" ]; then
  cp -r "$demo" "$work/damaged"
  d=$work/damaged
  stand=$d/Characters/vex/Standing/stand02.VDP
  head -c $(( $(stat -c %s "$stand") / 8 * 4 )) "$stand" >"$work/half" && mv "$work/half" "$stand"
  echo "not a sound" >"$d/Sounds/punch.wav"
  head -c 300 "$d/Stages/Music/temple.ogg" >"$work/cut" && mv "$work/cut" "$d/Stages/Music/temple.ogg"
  echo "RIFF junk" >"$d/Movies/Story/brann_1.avi"
  rm "$d/Characters/kira/Punch/punch03.bmp"
  "$vdx" --check-content --game-dir "$d" >"$work/damaged.txt"
  expect_status 1 $? "check-content on the damaged demo"
  for expected in \
    '\Characters\vex\Standing\stand02.VDP (Character "Vex" Action "Standing" frame 2): is a packed frame that leaves' \
    '\Sounds\punch.wav (Character "Kira" Action "Punch" SFX;' \
    ': is not a sound the game can play' \
    '\Stages\Music\temple.ogg (Stage "Temple" Music): is not music the game can play' \
    '\Movies\Story\brann_1.avi (story of "Brann" opponent "Vex" BeforeFile): is not a movie' \
    '\Characters\kira\Punch\punch03.bmp (Character "Kira" Action "Punch" frame 3)'; do
    grep -qF -- "$expected" "$work/damaged.txt" || fail "the damaged demo's check does not say: $expected"
  done
  "$vdx" --check-content --json --game-dir "$d" >"$work/damaged.json"
  grep -qF '{"kind": "broken", "file": "\\Stages\\Music\\temple.ogg", "neededBy": ["Stage \"Temple\" Music"], "reason": "is not music the game can play"}' \
    "$work/damaged.json" || fail "the damaged demo's JSON lacks the music: $(grep -c broken "$work/damaged.json")"
fi

# Full screen without a display: the label-45 message on standard error.
env -u DISPLAY -u WAYLAND_DISPLAY "$vdx" --game-dir "$work/game" 2>"$work/err"
status=$?
[ "$status" -ne 0 ] || fail "a full-screen start without a display succeeded"
[ "$status" -lt 128 ] || fail "a full-screen start without a display crashed (status $status)"
grep -q 'Error loading Vandrel...Aborting....: An error has occurred initializing Direct Draw for full screen mode.' "$work/err" ||
  fail "no label-45 message: $(cat "$work/err")"

if [ "$failures" -eq 0 ]; then echo "program tests passed"; fi
exit $((failures > 0))
