#!/usr/bin/env bash
# The layering check catches what it is there for: on copies of src/ with one
# bad include each it fails and names the file, the line's include and the
# way the rules reach it; on an untouched copy it passes.
set -u
check=$1
src=$2
cmake=${3:-cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Copies src/ to $work/$1 and adds line $3 after the first include of file $2.
copy_with() {  # name file line
  cp -r "$src" "$work/$1"
  [ -f "$work/$1/$2" ] || { fail "$1: no $2 in src/"; return; }
  sed -i "0,/^#include/s||$3\n&|" "$work/$1/$2"
  grep -qF "$3" "$work/$1/$2" || fail "$1: could not add $3 to $2"
}
run_check() {  # name
  "$cmake" -DSOURCE_DIR="$work/$1" -P "$check" >"$work/$1.out" 2>&1
}
# The check on copy $1 fails and its output holds every further argument.
expect_caught() {  # name text...
  local name=$1
  shift
  if run_check "$name"; then
    fail "$name: the check passes"
    return
  fi
  for text in "$@"; do
    grep -qF -- "$text" "$work/$name.out" || fail "$name: no \"$text\" in: $(head -c 1500 "$work/$name.out")"
  done
}

cp -r "$src" "$work/untouched"
run_check untouched || fail "untouched: the check fails: $(head -c 1500 "$work/untouched.out")"

# A rule that draws.
copy_with draws fight/damage.cpp '#include "graphics/sprite_renderer.h"'
expect_caught draws 'fight/damage.cpp:' 'fight/ rules include "graphics/sprite_renderer.h", which draws'

# A pure header the rules include takes in the platform: the header is named,
# with the way from fight/ to it.
copy_with smuggles core/small_text.h '#include "platform/platform.h"'
expect_caught smuggles 'core/small_text.h:' '"platform/platform.h", which talks to the system' \
  'fight/fight_state.h -> core/small_text.h'

# The same through content/, which stands above the platform: only the pure
# set catches it.
copy_with content content/records.h '#include "platform/platform.h"'
expect_caught content 'content/records.h:' '"platform/platform.h", which talks to the system' \
  '-> content/records.h)'

# A rule that includes the match drawn on screen, a higher layer as well.
copy_with match fight/fight_step.cpp '#include "match/fight_drawing.h"'
expect_caught match 'fight/fight_step.cpp:' 'fight/ rules include "match/fight_drawing.h"' \
  'of the higher layer match/'

# A path that climbs out of fight/ does not slip past the pure set.
copy_with beside fight/weather.cpp '#include "../graphics/display.h"'
expect_caught beside 'fight/weather.cpp:'

# The network library belongs to the platform alone.
copy_with network game/game.cpp '#include <enet/enet.h>'
expect_caught network 'game/game.cpp:' 'SDL, FFmpeg or ENet header <enet/enet.h>'

# Network play's rules do not reach for the transport or the screen.
copy_with transport net/packets.cpp '#include "platform/network.h"'
expect_caught transport 'net/packets.cpp:' 'net/ includes "platform/network.h", which talks to the system'
copy_with screen net/packets.cpp '#include "match/round_setup.h"'
expect_caught screen 'net/packets.cpp:' 'net/ includes "match/round_setup.h"'

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "the layering check catches every bad include"
