#!/usr/bin/env bash
# Every recorded replay of tests/fixtures/replays, played again headless on the
# demo folder, must give the frame hashes recorded with it: the same fight,
# frame for frame, and the same pictures. Played again with --no-draw, it must
# give the same states frame for frame, with "-" for every picture.
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
  if ! "$vdx" --headless --replay "$replay" --no-draw --frame-hashes "$work/$name.undrawn" \
      --game-dir "$demo" 2>"$work/$name.err"; then
    echo "FAIL: $name does not replay undrawn: $(cat "$work/$name.err")"
    failures=$((failures + 1))
    continue
  fi
  # Every line "frame state picture": drawn, the picture's 16 hex digits; undrawn, "-".
  if ! awk 'NF != 3 || length($3) != 16 || $3 !~ /^[0-9a-f]+$/ {bad = 1} END {exit bad || NR == 0}' \
      "$work/$name.hashes"; then
    echo "FAIL: $name drawn: a frame without its picture's hash"
    failures=$((failures + 1))
  fi
  if ! awk 'NF != 3 || $3 != "-" {bad = 1} END {exit bad || NR == 0}' "$work/$name.undrawn"; then
    echo "FAIL: $name undrawn: a frame with a picture hash, or none at all"
    failures=$((failures + 1))
  fi
  if ! cmp -s <(cut -d' ' -f1,2 "$work/$name.hashes") <(cut -d' ' -f1,2 "$work/$name.undrawn"); then
    echo "FAIL: $name plays other states undrawn; first difference:"
    diff <(cut -d' ' -f1,2 "$work/$name.hashes") <(cut -d' ' -f1,2 "$work/$name.undrawn") | head -3
    failures=$((failures + 1))
  fi
done
[ "$count" -gt 0 ] || { echo "FAIL: no replays in $replays"; exit 1; }
echo "$count replays, $failures failed"
[ "$failures" -eq 0 ]
