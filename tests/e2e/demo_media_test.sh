#!/usr/bin/env bash
# The demo folder's media, checked with FFmpeg's and SoX's own tools, and the
# generator's output compared between two runs.
set -u
game=$1
generator=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
probe() { ffprobe -v error -show_entries "stream=$2" -of default=noprint_wrappers=1:nokey=1 "$1"; }

[ "$(probe "$game/Movies/VDTitle.avi" codec_name | head -n1)" = mjpeg ] || fail "the title movie is not Motion-JPEG"
ffmpeg -nostdin -v error -i "$game/Movies/VDTitle.avi" -f null - || fail "the title movie does not decode"
while IFS= read -r movie; do
  ffmpeg -nostdin -v error -i "$movie" -f null - || fail "$movie does not decode"
done < <(find "$game" -name '*.avi')
for tune in menu.ogg harbour.ogg temple.ogg; do
  [ "$(probe "$game/Stages/Music/$tune" codec_name)" = vorbis ] || fail "$tune is not Vorbis"
  ffmpeg -nostdin -v error -i "$game/Stages/Music/$tune" -f null - || fail "$tune does not decode"
done
soxi "$game/Stages/Music/neon.WAV" >/dev/null || fail "neon.WAV is not a WAV file"
for sound in "$game"/Sounds/*.wav; do
  [ "$(soxi -r "$sound")" = 11025 ] && [ "$(soxi -c "$sound")" = 1 ] && [ "$(soxi -b "$sound")" = 8 ] ||
    fail "$sound is not 8-bit mono 11025 Hz"
done

# Deterministic: two runs write the same bytes.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$generator" "$work/a" && "$generator" "$work/b" || fail "the generator failed"
diff -r "$work/a" "$work/b" >/dev/null || fail "two runs of the generator differ"

[ "$failures" -eq 0 ] && echo "demo media tests passed"
exit $((failures > 0))
