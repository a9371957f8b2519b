#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots/: the real program under Xvfb with openbox and the
# Noto CJK fonts, driven from the keyboard as a person would, each window cropped to its frame.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail

build=${1:-build}
out=docs/screenshots
program="$build/lumicrate"
[[ -x "$program" ]] || { echo "build the program first: $program is missing" >&2; exit 1; }
mkdir -p "$out"

home=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$home"
}
trap cleanup EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox &
pids+=($!)

# A scratch home whose settings say the update check already ran today: no network.
mkdir -p "$home/Documents/Lumicrate"
printf '[VERSION]\nlast_day=%s\n' "$(date +%-d)" >"$home/Documents/Lumicrate/Lumicrate.ini"
HOME=$home XDG_RUNTIME_DIR=$home XDG_CONFIG_HOME=$home/.config "$program" &
pids+=($!)

# The window of that title once it is mapped.
window() {
  xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# Saves the window with its frame as docs/screenshots/NAME.png.
shoot() {
  sleep 0.7
  import -window "$1" -frame -strip "$out/$2.png"
  echo "$out/$2.png"
}

main=$(window "ルミクレート")
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+s a
sheet=$(window "アプリ設定")
tabs=(settings-app settings-photo settings-movie settings-sound settings-version)
for i in "${!tabs[@]}"; do
  ((i == 0)) || xdotool key --window "$sheet" ctrl+Tab
  shoot "$sheet" "${tabs[$i]}"
done

# Back to the photo tab, a right click on a row of its list, and the context menu's first
# item: the add dialog.
xdotool key --window "$sheet" ctrl+Tab ctrl+Tab
sleep 0.3
xdotool mousemove --window "$sheet" 200 150 click 3
sleep 0.7
# The menu opens at the pointer; a built-in row is under it, so delete is greyed.
eval "$(xdotool getmouselocation --shell)"
import -window root -crop "180x64+$((X - 10))+$((Y - 10))" +repage -strip "$out/settings-context-menu.png"
echo "$out/settings-context-menu.png"
xdotool key Down Return
add=$(window "拡張子の追加")
xdotool type --delay 50 "heic"
shoot "$add" settings-add-extension
