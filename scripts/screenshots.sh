#!/bin/bash
# Takes screenshots of the three windows under Xvfb, driving the program with
# the keyboard as a user would, into docs/ (PNG): at 100 % and at 200 %
# (Wine's LogPixels 192). Builds the x64 program first.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inner" ]; then
  scripts/install-deps.sh
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target ZorvinEffects >/dev/null
  mkdir -p docs
  exec cmake/wine-session.sh --xvfb build/win64/wineprefix bash -c "'$0' --inner 96 && '$0' --inner 192"
fi
dpi=$2
suffix=$([ "$dpi" = 96 ] && echo "" || echo "-$((dpi * 100 / 96))")
/usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
trap '/usr/lib/wine/wine64 reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1' EXIT

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

/usr/lib/wine/wine64 build/win64/bin/ZorvinEffects.exe &
program=$!

form1=$(wait_for "Zorvin WorldSpawn Settings")
xdotool windowfocus --sync "$form1"
sleep 0.5
keys Tab ctrl+a
xdotool type --delay 30 "mp_toujane"
keys shift+Tab space
import -window "$form1" "docs/form1$suffix.png"

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
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "docs/form1-list$suffix.png"
keys Escape

keys alt+e
effects=$(wait_for "Ostrel Zorvin Effects List")
xdotool windowfocus --sync "$effects"
for _ in $(seq 42); do xdotool key Down; done
sleep 0.5
import -window "$effects" "docs/effects$suffix.png"

keys alt+a
about=$(wait_for "Worldspawn Utility")
sleep 0.3
import -window "$about" "docs/about$suffix.png"
keys Return
focus=$(wait_for "Ostrel Zorvin Effects List")
xdotool windowfocus --sync "$focus"
keys alt+s e
wait "$program" || true
echo "screenshots at $dpi DPI: docs/form1$suffix.png docs/form1-list$suffix.png docs/effects$suffix.png docs/about$suffix.png"
