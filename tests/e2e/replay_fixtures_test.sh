#!/usr/bin/env bash
# Every recorded replay of tests/fixtures/replays, played again headless on the
# demo folder, must give the frame hashes recorded with it: the same fight,
# frame for frame, and the same pictures.
set -u
vdx=$1
replays=$2
demo=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
count=0
if [ "${VDX_RECORD_FIXTURES:-}" = 1 ]; then
  for script in "$replays"/*.script; do
    name=${script%.script}
    match=$(sed -n 's/^#   \(--versus .*\)/\1/p' "$script" | head -n 1)
    [ -n "$match" ] || { echo "FAIL: $script names no --versus line"; exit 1; }
    # shellcheck disable=SC2086
    "$vdx" 1 --headless --script "$script" $match --record "$name.vdr" \
      --frame-hashes "$name.hashes" --game-dir "$demo" || exit 1
    echo "recorded $(basename "$name")"
  done
fi
for replay in "$replays"/*.vdr; do
  name=$(basename "$replay" .vdr)
  count=$((count + 1))
  if ! "$vdx" 1 --headless --replay "$replay" --frame-hashes "$work/$name.hashes" \
      --game-dir "$demo" 2>"$work/$name.err"; then
    echo "FAIL: $name does not replay: $(cat "$work/$name.err")"
    failures=$((failures + 1))
    continue
  fi
  if ! diff -q "$replays/$name.hashes" "$work/$name.hashes" >/dev/null; then
    first=$(diff "$replays/$name.hashes" "$work/$name.hashes" | head -3)
    echo "FAIL: $name replays differently; first difference:"
    echo "$first"
    failures=$((failures + 1))
  fi
done
[ "$count" -gt 0 ] || { echo "FAIL: no replays in $replays"; exit 1; }
echo "$count replays, $failures failed"
[ "$failures" -eq 0 ]
