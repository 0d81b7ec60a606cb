#!/usr/bin/env bash
# What vdx reads and writes in a hostile or read-only game folder: pipes in
# place of content files never block it, SIGTERM ends it at once, writes never
# go through a link out of their folder, a failed write is said (and fails a
# run whose output it was), and temporary files of killed runs are cleared.
set -u
vdx=$1
fixtures=$2
demo=$3
work=$(mktemp -d)
chmod 755 "$work"  # an ordinary user reads the read-only folder below
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {  # expected actual what
  [ "$1" = "$2" ] || fail "$3: exit status $2, expected $1 ($(head -c 600 "$work/err" 2>/dev/null))"
}
# Waits up to $2 seconds for process $1 to end; kills it when it does not.
ended_within() {  # pid seconds
  for _ in $(seq $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null
  return 1
}

printf 'wait 3000\nquit\n' >"$work/short.txt"
printf 'wait 600000\n' >"$work/long.txt"

# --- Pipes in place of the title movie, the menu music and a stage's music ---
cp -r "$demo" "$work/pipes"
p=$work/pipes
rm -f "$p/log.txt" "$p/Movies/VDTitle.avi" "$p/Stages/Music/menu.ogg" "$p/Stages/Music/harbour.ogg"
mkfifo "$p/Movies/VDTitle.avi" "$p/Stages/Music/menu.ogg" "$p/Stages/Music/harbour.ogg"

timeout 60 "$vdx" --check-content --game-dir "$p" >"$work/check.txt" 2>"$work/err"
status=$?
[ $status -ne 124 ] || fail "--check-content waits on a pipe"
expect_status 1 $status "--check-content with pipes"
grep -F '\Stages\Music\harbour.ogg (Stage "Harbour" Music' "$work/check.txt" |
  grep -qF ': is not a file the game can read' || fail "the check does not call the pipe unreadable: $(grep -i harbour "$work/check.txt")"

timeout 60 "$vdx" 1 --headless --script "$work/short.txt" --game-dir "$p" 2>"$work/err"
status=$?
[ $status -ne 124 ] || fail "start-up waits on a pipe (title movie or menu music)"
expect_status 0 $status "start-up with pipes"

timeout 60 "$vdx" 1 --headless --script "$work/short.txt" --versus kira,vex --stage Harbour \
  --game-dir "$p" 2>"$work/err"
status=$?
[ $status -ne 124 ] || fail "a fight's start waits on a pipe as the stage's music"
expect_status 0 $status "a fight with a pipe as its music"

# SIGTERM ends a running game promptly, pipes or not.
rm -f "$p/log.txt"
"$vdx" 1 --headless --script "$work/long.txt" --game-dir "$p" 2>"$work/err" &
pid=$!
for _ in $(seq 200); do [ -s "$p/log.txt" ] && break; sleep 0.1; done
kill -TERM $pid
if ended_within $pid 10; then
  wait $pid
  expect_status 0 $? "a run ended by SIGTERM"
else
  fail "SIGTERM did not end the game within 10 s"
fi

# --- Writes through links out of their folder are refused, the target kept ---
cp -r "$fixtures/game" "$work/linked"
l=$work/linked
echo "the player's own file" >"$work/victim"
ln -s "$work/victim" "$l/log.txt"
"$vdx" 1 --headless --script "$work/short.txt" --game-dir "$l" 2>"$work/err"
expect_status 0 $? "a run with log.txt linked out of the folder"
[ "$(cat "$work/victim")" = "the player's own file" ] || fail "the log went through its link"
[ "$(grep -c "cannot write the log: refuse $l/log.txt: it is a link that leads out of $l" "$work/err")" = 1 ] ||
  fail "the refused log is not said once: $(cat "$work/err")"

mkdir "$work/out"
ln -s "$work/victim" "$work/out/match.vdr"
ln -s "$work/victim" "$work/out/hashes.txt"
"$vdx" --headless --versus kira,vex --cpu both --rounds 1 --seed 7 --game-dir "$demo" \
  --record "$work/out/match.vdr" >/dev/null 2>"$work/err"
expect_status 1 $? "--record through a link out of its folder"
grep -qF "cannot write the replay $work/out/match.vdr: refuse $work/out/match.vdr: it is a link that leads out of" \
  "$work/err" || fail "the refused replay is not named: $(cat "$work/err")"
"$vdx" --headless --versus kira,vex --cpu both --rounds 1 --seed 7 --game-dir "$demo" \
  --frame-hashes "$work/out/hashes.txt" >/dev/null 2>"$work/err"
expect_status 1 $? "--frame-hashes through a link out of its folder"
grep -qF "cannot write the frame hashes to $work/out/hashes.txt: refuse $work/out/hashes.txt" \
  "$work/err" || fail "the refused frame hashes are not named: $(cat "$work/err")"
[ "$(cat "$work/victim")" = "the player's own file" ] || fail "a replay or hashes went through a link"

# --- A failed --record or --frame-hashes write fails the run ---
mkdir "$work/out/taken.vdr" "$work/out/taken.txt"
"$vdx" --headless --versus kira,vex --cpu both --rounds 1 --seed 7 --game-dir "$demo" \
  --record "$work/out/taken.vdr" --frame-hashes "$work/out/fine.txt" >/dev/null 2>"$work/err"
expect_status 1 $? "--record onto a folder"
grep -q "cannot write the replay .*not a regular file" "$work/err" || fail "no reason: $(cat "$work/err")"
[ -s "$work/out/fine.txt" ] || fail "the frame hashes were not written beside a failed replay"
"$vdx" --headless --versus kira,vex --cpu both --rounds 1 --seed 7 --game-dir "$demo" \
  --frame-hashes "$work/out/taken.txt" >/dev/null 2>"$work/err"
expect_status 1 $? "--frame-hashes onto a folder"

# --- A read-only game folder: every failed write is said, once ---
cp -r "$fixtures/game" "$work/ro"
r=$work/ro
# A value loading skips, so that start-up has problems to log.
sed -i 's/Rounds="3"/Rounds="three"/' "$r/Game.xml"
grep -q 'Rounds="three"' "$r/Game.xml" || fail "the fixture's Game.xml no longer says Rounds=\"3\""
printf 'wait 500\ntap F12\nwait 200\ntap F12\nwait 200\nquit\n' >"$work/shots.txt"
chmod -R a+rX,a-w "$r"
run_as_reader() {
  if [ "$(id -u)" = 0 ]; then
    # Root writes anywhere: the run is an ordinary user's.
    setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
  else
    "$@"
  fi
}
# The player's folders cannot be made either (a home folder the reader cannot
# write): each failure is said once, and the game plays on.
mkdir -p "$work/home"
chmod 555 "$work/home"
run_as_reader env -u XDG_STATE_HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$work/home" \
  "$vdx" 1 --headless --script "$work/shots.txt" --game-dir "$r" 2>"$work/err"
expect_status 0 $? "a run in a read-only folder"
[ "$(grep -c 'cannot write the log' "$work/err")" = 1 ] ||
  fail "the unwritten log is not said once: $(cat "$work/err")"
[ "$(grep -c "cannot make the folder for your files: make the folder $work/home/.local: Permission denied" "$work/err")" = 2 ] ||
  fail "the folders for the log and the screenshots are not said once each: $(cat "$work/err")"
grep -q 'listed in log.txt' "$work/err" && fail "stderr points to a log that was not written"
grep -q 'problem.* in the game folder; run vdx --check-content' "$work/err" ||
  fail "no pointer to the content check: $(cat "$work/err")"
[ -e "$r/log.txt" ] && fail "a log.txt was written in a read-only folder"
chmod -R u+w "$r"

# --- Temporary files of killed runs are removed at start-up ---
cp -r "$fixtures/game" "$work/tmp"
t=$work/tmp
sh -c 'exit 0' &
gone=$!
wait $gone
echo "whole" >"$t/.save.dat.$gone.1"
echo "whole" >"$t/.log.txt.$gone.3"
echo "being written" >"$t/.save.dat.$$.2"  # this script is alive
ln -s "$work/victim" "$t/.save.dat.$gone.4"
echo "theirs" >"$t/.profile.$gone.1"  # not a file the game writes
"$vdx" 1 --headless --script "$work/short.txt" --game-dir "$t" 2>"$work/err"
expect_status 0 $? "a run beside temporary files"
[ -e "$t/.save.dat.$gone.1" ] && fail "an ended run's temporary save.dat is left"
[ -e "$t/.log.txt.$gone.3" ] && fail "an ended run's temporary log.txt is left"
[ -e "$t/.save.dat.$$.2" ] || fail "a live process's temporary file was removed"
[ -L "$t/.save.dat.$gone.4" ] || fail "a link named like a temporary file was removed"
[ -e "$t/.profile.$gone.1" ] || fail "another program's hidden file was removed"
# A folder that holds no game is left as it is.
mkdir -p "$work/notgame"
echo "theirs" >"$work/notgame/.save.dat.$gone.1"
"$vdx" 1 --headless --script "$work/short.txt" --game-dir "$work/notgame" 2>/dev/null
[ -e "$work/notgame/.save.dat.$gone.1" ] || fail "a folder without a game was swept"

# --- log.txt keeps the whole run: start-up, F12 and the select screen ---
cp -r "$demo" "$work/logged"
g=$work/logged
rm -rf "$g/log.txt" "$g/screenshots"
cat >"$work/select.txt" <<SCRIPT
wait 800
tap Escape
wait 600
tap F12
wait 300
press A
wait 150
release A
wait 2000
quit
SCRIPT
"$vdx" 1 --headless --script "$work/select.txt" --game-dir "$g" 2>"$work/err"
expect_status 0 $? "a run to the select screen"
for expected in '"Red mask 16711680 Green Mask 65280 Blue Mask 255"' \
  '"Screenshot screenshots\vdx0001.png"' '"----------------------------------------"' \
  '"Loading Character Portraits"'; do
  grep -qF -- "$expected" "$g/log.txt" || fail "log.txt lacks $expected: $(head -c 800 "$g/log.txt")"
done

if [ "$failures" -eq 0 ]; then echo "file tests passed"; fi
exit $((failures > 0))
