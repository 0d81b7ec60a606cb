#!/usr/bin/env bash
# Every recorded replay of tests/fixtures/replays passes the sync test 1 to 8
# frames ahead, headless on the demo folder: each frame stepped again from a
# saved state comes out the same. A pass prints nothing and ends with 0.
#   replay_sync_test.sh VDX REPLAYS DEMO [MOST_AHEAD]
set -u
vdx=$1
replays=$2
demo=$3
most=${4:-8}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
count=0
start=$(date +%s)
for replay in "$replays"/*.vdr; do
  [ -e "$replay" ] || continue
  name=$(basename "$replay" .vdr)
  count=$((count + 1))
  for k in $(seq 1 "$most"); do
    "$vdx" --headless --replay "$replay" --sync-test "$k" --game-dir "$demo" \
      >"$work/out" 2>"$work/err"
    status=$?
    if [ "$status" -ne 0 ]; then
      echo "FAIL: $name, --sync-test $k: exit status $status: $(cat "$work/err")"
      failures=$((failures + 1))
    elif [ -s "$work/out" ] || [ -s "$work/err" ]; then
      echo "FAIL: $name, --sync-test $k passed but printed: $(cat "$work/out" "$work/err")"
      failures=$((failures + 1))
    fi
  done
done
[ "$count" -gt 0 ] || { echo "FAIL: no replays in $replays"; exit 1; }

# The number of frames ahead is 1 to 8, and only a replay has frames to test.
for bad in 0 9 x; do
  "$vdx" --headless --replay "$replay" --sync-test "$bad" --game-dir "$demo" 2>"$work/err"
  status=$?
  if [ "$status" -ne 2 ] || ! grep -q -- '--sync-test takes a number' "$work/err"; then
    echo "FAIL: --sync-test $bad: exit status $status: $(cat "$work/err")"
    failures=$((failures + 1))
  fi
done
"$vdx" --headless --versus Kira,Brann --cpu both --sync-test 1 --game-dir "$demo" 2>"$work/err"
status=$?
if [ "$status" -ne 2 ] || ! grep -q -- '--sync-test needs a replay' "$work/err"; then
  echo "FAIL: --sync-test without a replay: exit status $status: $(cat "$work/err")"
  failures=$((failures + 1))
fi

echo "$count replays, 1 to $most frames ahead, $failures failed, $(($(date +%s) - start)) s"
[ "$failures" -eq 0 ]
