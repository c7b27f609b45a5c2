#!/usr/bin/env bash
# replay_pictures.sh PVTOOL RECORDING: replay writes a PNG; the picture after more steps than
# the recording has is the picture at its end, one after fewer steps differs; frames writes a
# numbered PNG every N steps and one at the end; a sealed recording is not replayed.
set -u
pvtool=$1 recording=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
is_png() { [[ $(head -c 8 "$1" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]]; }
"$pvtool" replay "$recording" -o "$dir/end.png" || { echo "replay failed"; fail=1; }
is_png "$dir/end.png" || { echo "end.png is not a PNG"; fail=1; }
"$pvtool" replay "$recording" -o "$dir/many.png" --steps 1000 || fail=1
cmp -s "$dir/end.png" "$dir/many.png" || { echo "--steps past the end differs from the end"; fail=1; }
"$pvtool" replay "$recording" -o "$dir/early.png" --steps 3 || fail=1
cmp -s "$dir/end.png" "$dir/early.png" && { echo "--steps 3 gives the finished picture"; fail=1; }
"$pvtool" frames "$recording" -d "$dir/frames" --every 2 --scale 0.5 2>/dev/null || { echo "frames failed"; fail=1; }
[[ $(ls "$dir/frames") == $'frame-000001.png\nframe-000002.png\nframe-000003.png' ]] ||
    { echo "frames written:"; ls "$dir/frames"; fail=1; }
is_png "$dir/frames/frame-000003.png" || { echo "the last frame is not a PNG"; fail=1; }
"$pvtool" seal "$recording" "$dir/sealed.pe3" || fail=1
"$pvtool" replay "$dir/sealed.pe3" -o "$dir/sealed.png" 2>"$dir/err"
[[ $? -eq 1 ]] || { echo "a sealed recording was replayed"; fail=1; }
grep -q 'result=5' "$dir/err" || { echo "no protection result:"; cat "$dir/err"; fail=1; }
[[ -e $dir/sealed.png ]] && { echo "a refused replay wrote a picture"; fail=1; }
exit $fail
