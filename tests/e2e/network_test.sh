#!/usr/bin/env bash
# Two real processes play a match over ENet on this machine, each side's
# computer at its own player's keys, headless: both must end with the same
# frame hashes and the same replay, a spectator must see the same frames,
# and the replay must play back locally to the same states. Then a joining
# side with other settings is refused, and both sides say what differs.
set -u
vdx=$1
demo=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A port of this run's own (tests running at once have other process ids).
port=$((20000 + $$ % 20000))

"$vdx" --headless --host "$port" --versus Kira,Brann --stage Harbour --cpu local --rounds 1 \
  --matches 1 --seed 11 --frame-hashes "$work/host.hashes" --record "$work/host.vdr" \
  --game-dir "$demo" >"$work/host.out" 2>"$work/host.err" &
host=$!
pids+=("$host")
sleep 1
"$vdx" --headless --watch "127.0.0.1:$port" --rounds 1 --frame-hashes "$work/watch.hashes" \
  --game-dir "$demo" >"$work/watch.out" 2>"$work/watch.err" &
watch=$!
pids+=("$watch")
sleep 0.5
timeout 300 "$vdx" --headless --join "127.0.0.1:$port" --cpu local --rounds 1 \
  --frame-hashes "$work/join.hashes" --record "$work/join.vdr" \
  --game-dir "$demo" >"$work/join.out" 2>"$work/join.err"
joined=$?
timeout 30 tail --pid="$host" -f /dev/null
wait "$host"; hosted=$?
timeout 30 tail --pid="$watch" -f /dev/null
wait "$watch"; watched=$?
for side in host join watch; do
  echo "--- $side"; cat "$work/$side.out" "$work/$side.err"
done
[ "$hosted" = 0 ] || fail "the host ended with status $hosted"
[ "$joined" = 0 ] || fail "the joining side ended with status $joined"
[ "$watched" = 0 ] || fail "the spectator ended with status $watched"
grep -q "won" "$work/host.out" || fail "the host's match has no winner"
[ -s "$work/host.hashes" ] || fail "the host wrote no frame hashes"
cmp -s "$work/host.hashes" "$work/join.hashes" || fail "the two sides' frame hashes differ"
cmp -s "$work/host.vdr" "$work/join.vdr" || fail "the two sides' replays differ"
cmp -s "$work/host.hashes" "$work/watch.hashes" || fail "the spectator saw other frames"
"$vdx" --headless --replay "$work/host.vdr" --no-draw --frame-hashes "$work/replayed.hashes" \
  --game-dir "$demo" 2>"$work/replay.err" || fail "the replay does not play: $(cat "$work/replay.err")"
cmp -s "$work/host.hashes" "$work/replayed.hashes" || fail "the replay plays back to other states"
echo "a match of $(wc -l <"$work/host.hashes") frames: both sides, the spectator and the replay agree"

# Other settings on the joining side: nothing starts, both sides say why.
port=$((port + 1))
"$vdx" --headless --host "$port" --versus Kira,Brann --cpu local --rounds 1 --game-dir "$demo" \
  >"$work/host2.out" 2>"$work/host2.err" &
host=$!
pids+=("$host")
sleep 1
timeout 60 "$vdx" --headless --join "127.0.0.1:$port" --cpu local --rounds 3 --game-dir "$demo" \
  >"$work/join2.out" 2>"$work/join2.err"
refused=$?
kill "$host" 2>/dev/null
wait "$host" 2>/dev/null
cat "$work/join2.err" "$work/host2.err"
[ "$refused" = 3 ] || fail "a refused join ended with status $refused, not 3"
grep -q "refused: the rounds differ" "$work/join2.err" || fail "the joining side does not say what differs"
grep -q "cannot join: the rounds differ" "$work/host2.err" || fail "the host does not say what differs"
echo "a join with other settings is refused on both sides"

# The joining side stops answering mid-match (stopped, as a machine that
# hangs): after 10 s of silence the host ends the match, "connection lost".
port=$((port + 1))
"$vdx" --headless --host "$port" --versus Kira,Brann --cpu local --game-dir "$demo" \
  >"$work/host3.out" 2>"$work/host3.err" &
host=$!
pids+=("$host")
sleep 1
"$vdx" --headless --join "127.0.0.1:$port" --cpu local --game-dir "$demo" \
  >"$work/join3.out" 2>"$work/join3.err" &
join=$!
pids+=("$join")
sleep 4
kill -STOP "$join"
stopped=$(date +%s)
timeout 30 tail --pid="$host" -f /dev/null
wait "$host"; lost=$?
took=$(( $(date +%s) - stopped ))
kill -KILL "$join" 2>/dev/null
cat "$work/host3.err"
[ "$lost" = 3 ] || fail "the host ended with status $lost, not 3, when the other side went silent"
grep -q "connection lost" "$work/host3.err" || fail "the host does not say the connection was lost"
[ "$took" -ge 9 ] && [ "$took" -le 20 ] || fail "the host gave up after $took s, not 10"
echo "a silent other side: connection lost after $took s"
