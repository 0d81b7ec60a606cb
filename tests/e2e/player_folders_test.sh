#!/usr/bin/env bash
# vdx installed the way Linux games are: the programs in <prefix>/games, the
# game folder read-only in <prefix>/share/games/vdx, run by an ordinary user.
# The log, save.dat, screenshots and replays land in the user's XDG folders,
# said once; the launcher saves a binding into the user's copy of Game.xml,
# which the next run plays with; the installed Game.xml never changes. With
# the user's folders unwritable too, every failure is said and the game plays.
set -u
vdx=$1
launch=$2
demo=$3
installed_prefix=$4  # where the programs look for an installed game folder
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {  # expected actual what
  [ "$1" = "$2" ] || fail "$3: exit status $2, expected $1 ($(head -c 800 "$work/err" 2>/dev/null))"
}

# The ordinary user: created when we are root; when we are not, we are one.
if [ "$(id -u)" = 0 ]; then
  id vdxtest >/dev/null 2>&1 || useradd -m vdxtest || { echo "cannot create the user vdxtest"; exit 77; }
  as_user() { setpriv --reuid=vdxtest --regid=vdxtest --init-groups "$@"; }
  owner=vdxtest
else
  as_user() { "$@"; }
  owner=$(id -un)
fi

# The staged installation.
prefix=$work/prefix
g=$prefix/share/games/vdx
mkdir -p "$prefix/games" "$prefix/share/games"
cp -r "$demo" "$g"
rm -rf "$g/vdx" "$g/vdxlaunch" "$g/log.txt" "$g/save.dat" "$g/screenshots"
cp "$vdx" "$prefix/games/vdx"
cp "$launch" "$prefix/games/vdxlaunch"
# Kira's ladder of one fight against a Brann who falls at the first blow.
cat >"$g/story.xml" <<'XML'
<Story>
  <Character Name="Kira" Opponents="1"><Opponent Name="Brann" Stage="Harbour"/></Character>
</Story>
XML
cat >"$g/ai.xml" <<'XML'
<AI><Character Name="Brann" Aggression="0" Attack="0" AttackFar="0" Block="0" Retreat="0"/></AI>
XML
sed -i '0,/Health="120"/s//Health="1"/' "$g/Game.xml"
grep -q 'Health="1"' "$g/Game.xml" || fail "the demo's Game.xml no longer has Health=\"120\""
grep -q '<Player1Keys[^>]*Punch="30"' "$g/Game.xml" || fail "the demo's Punch is not A (30)"
cp "$g/Game.xml" "$work/installed.xml"
chmod -R a+rX,a-w "$prefix"
find "$g" -type f | sort | xargs md5sum >"$work/installed.md5"

# A run without --game-dir finds the staged folder unless an installation of
# the configured prefix is there first.
where=()
[ -e "$installed_prefix/share/games/vdx/Game.xml" ] && where=(--game-dir "$g")

home=$work/home
mkdir -p "$home"
chown "$owner" "$home" 2>/dev/null
player() {  # runs a program as the user with a clean environment of theirs
  as_user env -i PATH="$PATH" HOME="$home" SDL_AUDIODRIVER=dummy ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} "$@"
}
state=$home/.local/state/vdx/vdx
data=$home/.local/share/vdx/vdx
config=$home/.config/vdx/vdx

# Scripts: menus look at keys every 101 ms; an event movie ignores keys for 2 s.
hold() { printf 'press %s\nwait %s\nrelease %s\nwait 250\n' "$1" "${2:-100}" "$1"; }
story_script() {  # punch key; the story ladder won, F12 in the fight, a state dump
  local punch=$1
  printf 'wait 800\n'; hold Escape 150; printf 'wait 300\n'
  hold Down; hold Down; hold Down; hold "$punch" 150; printf 'wait 300\n'; hold "$punch" 150
  printf 'wait 1000\ntap D\nwait 300\npress Right\nwait 2500\n'
  printf 'tap F12\nwait 200\n'
  for _ in 1 2 3; do printf 'press %s\nwait 110\nrelease %s\nwait 240\n' "$punch" "$punch"; done
  printf 'release Right\nwait 500\nstate %s\n' "$home/ko-$punch.json"
  hold "$punch" 150
  for _ in 1 2 3; do printf 'wait 2100\ntap S\nwait 300\n'; done
  printf 'wait 500\nquit\n'
}
story_script A >"$work/story-a.txt"
story_script Z >"$work/story-z.txt"
chmod 644 "$work"/*.txt

# --- The first run: the story won, a screenshot, the log, all in the user's folders ---
player "$prefix/games/vdx" 1 --headless --rounds 1 --script "$work/story-a.txt" "${where[@]}" \
  >/dev/null 2>"$work/err"
expect_status 0 $? "the first run"
notice="vdx: the game folder $g cannot be written; your log goes to $state, your save, screenshots and replays to $data"
[ "$(grep -cF "$notice" "$work/err")" = 1 ] || fail "the first run does not say once where: $(cat "$work/err")"
grep -qE '"RoundLoser": ?"?2' "$home/ko-A.json" 2>/dev/null || fail "Brann did not fall: $(head -c 300 "$home/ko-A.json" 2>/dev/null)"
[ -s "$data/screenshots/vdx0001.png" ] || fail "F12 wrote no picture into $data/screenshots"
[ "$(od -An -tx1 "$data/save.dat" 2>/dev/null | tr -d ' \n')" = "00010000" ] ||
  fail "the won ladder is not in $data/save.dat: $(od -An -tx1 "$data/save.dat" 2>&1)"
[ -s "$state/log.txt" ] || fail "no log in $state"
head -n 1 "$state/log.txt" | grep -qF "your log goes to $state" || fail "the log does not say where it is: $(head -n 2 "$state/log.txt")"
grep -qF "Screenshot $data/screenshots/vdx0001.png" "$state/log.txt" || fail "the log does not name the picture"
for folder in "$state" "$data"; do
  [ "$(stat -c %a "$folder")" = 700 ] || fail "$folder is not private: $(stat -c %a "$folder")"
done

# --- The next run says nothing more; a relative --record lands in the data folder ---
printf 'wait 2000\ntap F12\nwait 300\nquit\n' >"$work/f12.txt"
chmod 644 "$work/f12.txt"
(cd "$home" && player "$prefix/games/vdx" 1 --headless --script "$work/f12.txt" --versus kira,vex \
  --record fight.vdr "${where[@]}" >/dev/null 2>"$work/err")
expect_status 0 $? "the second run"
grep -q "cannot be written" "$work/err" && fail "the second run says where again: $(cat "$work/err")"
[ -s "$data/screenshots/vdx0002.png" ] || fail "the second picture is not in $data/screenshots"
[ -s "$data/fight.vdr" ] || fail "the replay is not in $data: $(ls "$data" "$home")"

# --- The launcher saves a binding into the user's copy of Game.xml ---
# Player 1's Punch box, then EXIT (see src/launcher/form_layout.h).
printf 'click 108 164\nclick 348 342\ntap Z\nwait 50\nclick 108 384\n' >"$work/bind.txt"
chmod 644 "$work/bind.txt"
out=$(player "$prefix/games/vdxlaunch" --headless --script "$work/bind.txt" "${where[@]}" 2>"$work/err")
expect_status 0 $? "the launcher"
[ -z "$out" ] || fail "the launcher printed: $out"
grep -qF "vdxlaunch: the game folder $g cannot be written; your settings are saved in $config/Game.xml" \
  "$work/err" || fail "the launcher does not say where: $(cat "$work/err")"
sed '/<Player1Keys/s/Punch="30"/Punch="44"/' "$work/installed.xml" >"$work/expected.xml"
cmp -s "$work/expected.xml" "$config/Game.xml" || fail "the user's Game.xml is not the installed one with Punch on Z"
[ "$(stat -c %a "$config")" = 700 ] || fail "$config is not private"

# The game reads it: the check names it, the log says so, and Z punches.
out=$(player "$prefix/games/vdx" --check-content "${where[@]}" 2>&1)
grep -qF "Game.xml: your copy $config/Game.xml" <<<"$out" || fail "the check does not read the user's Game.xml: $(head -n 3 <<<"$out")"
rm -f "$home/ko-Z.json"
player "$prefix/games/vdx" 1 --headless --rounds 1 --script "$work/story-z.txt" "${where[@]}" \
  >/dev/null 2>"$work/err"
expect_status 0 $? "a run with Punch on Z"
grep -qE '"RoundLoser": ?"?2' "$home/ko-Z.json" 2>/dev/null || fail "Z does not punch: $(head -c 300 "$home/ko-Z.json" 2>/dev/null)"
grep -qF "the settings come from your copy of Game.xml, $config/Game.xml" "$state/log.txt" ||
  fail "the log does not say whose Game.xml: $(head -n 3 "$state/log.txt")"

# --- The user's folders unwritable too: everything is said, the game plays ---
mkdir -p "$work/ro-state" "$work/ro-data" "$work/ro-config"
chmod 555 "$work/ro-state" "$work/ro-data" "$work/ro-config"
unwritable() {
  as_user env -i PATH="$PATH" HOME="$home" SDL_AUDIODRIVER=dummy XDG_STATE_HOME="$work/ro-state" \
    XDG_DATA_HOME="$work/ro-data" XDG_CONFIG_HOME="$work/ro-config" \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
    ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} "$@"
}
unwritable "$prefix/games/vdx" 1 --headless --rounds 1 --script "$work/story-a.txt" "${where[@]}" \
  >/dev/null 2>"$work/err"
expect_status 0 $? "a run with unwritable user folders"
for expected in "cannot make the folder for your files: make the folder $work/ro-state/vdx: Permission denied" \
  "cannot make the folder for your files: make the folder $work/ro-data/vdx: Permission denied" \
  "cannot write the log" "The finished story of Kira is not recorded"; do
  grep -qF "$expected" "$work/err" || fail "not said: $expected in $(cat "$work/err")"
done
out=$(unwritable "$prefix/games/vdxlaunch" --headless --script "$work/bind.txt" "${where[@]}" 2>"$work/err")
expect_status 0 $? "the launcher with an unwritable config folder"
grep -qF "message box \"Cannot save\": The settings are not saved" <<<"$out" ||
  fail "the launcher does not show why it cannot save: $out"
grep -qF "make the folder $work/ro-config/vdx: Permission denied" "$work/err" ||
  fail "the launcher does not say why on the terminal: $(cat "$work/err")"

# --- The installed game folder is as it was installed, byte for byte ---
cmp -s "$work/installed.xml" "$g/Game.xml" || fail "the installed Game.xml changed"
find "$g" -type f | sort | xargs md5sum | cmp -s - "$work/installed.md5" ||
  fail "files in the installed folder changed or appeared"

[ "$failures" -eq 0 ] && echo "player folders test passed"
exit $((failures > 0))
