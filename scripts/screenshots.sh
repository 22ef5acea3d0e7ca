#!/bin/bash
# Takes screenshots of the three windows under Xvfb, driving the program with
# the keyboard as a user would, into docs/ (PNG): at 100 % and at 200 %
# (Wine's LogPixels 192). Builds the x64 program first.
#   --x86   the x86 program under emulated 32-bit Wine instead, into
#           build/win32/screenshots/ (to compare with the x64 pictures)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inner" ]; then
  preset=win64 session=() out=docs
  if [ "${1:-}" = "--x86" ]; then preset=win32 session=(--x86) out=build/win32/screenshots; fi
  scripts/install-deps.sh
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target ZorvinEffects >/dev/null
  mkdir -p "$out"
  export ZORVIN_SHOT_EXE=build/$preset/bin/ZorvinEffects.exe ZORVIN_SHOT_DIR=$out
  exec cmake/wine-session.sh --xvfb "${session[@]}" "build/$preset/wineprefix" \
    bash -c "'$0' --inner 96 && '$0' --inner 192"
fi
. cmake/wine-env.sh
dpi=$2
out=$ZORVIN_SHOT_DIR
suffix=$([ "$dpi" = 96 ] && echo "" || echo "-$((dpi * 100 / 96))")
"$ZORVIN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
trap 'quiet "$ZORVIN_WINE" reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d 96 /f' EXIT

wait_for() {  # CAPTION: prints the X window of the visible window with that caption
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "no window '$1'" >&2
  exit 1
}
keys() { xdotool key --delay 30 "$@"; sleep 0.4; }
# Saves the window once two shots in a row are the same: the x86 program,
# emulated, may still be working through the keys it was sent.
shot() {  # WINDOW FILE
  local previous=$2.previous.png
  import -window "$1" "$previous"
  for _ in $(seq 50); do
    sleep 0.2
    import -window "$1" "$2"
    [ "$(compare -metric AE "$2" "$previous" /dev/null 2>&1)" = 0 ] && break
    mv "$2" "$previous"
  done
  rm -f "$previous"
}

"$ZORVIN_WINE" "$ZORVIN_SHOT_EXE" &
program=$!

form1=$(wait_for "Zorvin WorldSpawn Settings")
xdotool windowfocus --sync "$form1"
sleep 0.5
keys Tab ctrl+a
xdotool type --delay 30 "mp_toujane"
keys shift+Tab space
shot "$form1" "$out/form1$suffix.png"

# The level list, open: a window of its own, which reaches past Form1 (below
# it, or above it where the screen has no room below). The shot is taken from
# the screen, over both.
xdotool mousemove 0 0
keys Tab alt+Down
eval "$(xdotool getwindowgeometry --shell "$form1")"
left=$X top=$Y right=$((X + WIDTH)) bottom=$((Y + HEIGHT))
for id in $(xdotool search --onlyvisible --classname 'zorvineffects' 2>/dev/null); do
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$X" -lt "$left" ] && left=$X
  [ "$Y" -lt "$top" ] && top=$Y
  [ $((X + WIDTH)) -gt "$right" ] && right=$((X + WIDTH))
  [ $((Y + HEIGHT)) -gt "$bottom" ] && bottom=$((Y + HEIGHT))
done
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/form1-list$suffix.png"
keys Escape

keys alt+e
effects=$(wait_for "Ostrel Zorvin Effects List")
xdotool windowfocus --sync "$effects"
for _ in $(seq 42); do xdotool key Down; done
sleep 0.5
shot "$effects" "$out/effects$suffix.png"

keys alt+a
about=$(wait_for "Worldspawn Utility")
sleep 0.3
shot "$about" "$out/about$suffix.png"
keys Return
focus=$(wait_for "Ostrel Zorvin Effects List")
xdotool windowfocus --sync "$focus"
keys alt+s e
wait "$program" || true
echo "screenshots at $dpi DPI: $out/form1$suffix.png $out/form1-list$suffix.png $out/effects$suffix.png $out/about$suffix.png"
