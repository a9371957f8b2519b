#!/usr/bin/env bash
# Takes the desktop program's screenshots in docs/screenshots/ as a person sees them: the real
# program under Xvfb with the openbox window manager, driven by xdotool, each window captured
# with its frame. Usage: scripts/screenshots.sh [BUILD_DIR]   (not run by the tests)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
if [[ -z "${LUMICRATE_SHOTS_DISPLAY:-}" ]]; then
  exec xvfb-run -a -s '-screen 0 1280x800x24' env LUMICRATE_SHOTS_DISPLAY=1 "$0" "$build"
fi

shots=$root/docs/screenshots
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_RUNTIME_DIR=$work/run LANG=ja_JP.UTF-8
unset QT_QPA_PLATFORM
mkdir -p "$HOME/Documents/Lumicrate" "$XDG_RUNTIME_DIR" "$shots"
chmod 700 "$XDG_RUNTIME_DIR"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The settings file is UTF-16LE with a byte-order mark and CR LF line ends.
write_settings() {
  { printf '\xff\xfe'; printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE; } >"$HOME/Documents/Lumicrate/Lumicrate.ini"
}

# A card with enough small photos that the run lasts a few seconds.
card=$work/card
mkdir -p "$card/DCIM/100LUMIC"
python3 - "$root/samples/card/DCIM/100LUMIC/IMG_0001.JPG" "$card/DCIM/100LUMIC" <<'PY'
import os, sys
photo = open(sys.argv[1], "rb").read()
for i in range(20000):
    with open(os.path.join(sys.argv[2], "IMG_%05d.JPG" % i), "wb") as f:
        f.write(photo + i.to_bytes(4, "little") * 64)
PY
output=$work/写真

start_program() {
  "$build/lumicrate" >/dev/null 2>&1 &
  program=$!
  pids+=("$program")
}

# The window named $1, once it shows.
find_window() {
  xdotool search --sync --onlyvisible --name "^$1\$" | tail -1
}

capture() {
  sleep 0.7
  import -window "$1" -frame "$shots/$2.png"
  echo "docs/screenshots/$2.png"
}

write_settings '[APP_INFO]' "OutputFolder=$output" '[VERSION]' 'notify=1'
start_program
main=$(find_window 'ルミクレート')
# Wide enough for the whole connection hint, which the narrowest window cuts off.
xdotool windowmove "$main" 40 40 windowsize "$main" 700 560
sleep 0.5

# The folder command: the chooser takes the card's path, then the question and the run.
xdotool windowactivate --sync "$main" key alt+f Return
sleep 1.5
xdotool type --delay 20 "$card"
xdotool key Return
question=$(find_window '写真＆動画の取り込みの開始')
capture "$question" confirmation
xdotool windowactivate --sync "$question" key Return
progress=$(xdotool search --sync --onlyvisible --name '\.JPG|写真の取り込み中' | tail -1)
sleep 2.5
capture "$progress" progress
done_box=$(find_window 'お知らせ')
xdotool windowactivate --sync "$done_box" key Return
# After the run the album can be generated, and the example tree shows the output folder.
capture "$main" main-window
kill "$program"
wait "$program" 2>/dev/null || true

# The update notice, with a loopback server standing in for the vendor's (as the HTTP proxy).
control=$work/server
mkdir -p "$control"
printf '1.0.1.0\r\nhttp://lumicrate.example/download\r\n' >"$control/body"
coproc server { python3 "$root/tests/update/loopback_http_server.py" "$control"; }
pids+=("$server_PID")
read -r port <&"${server[0]}"
write_settings '[APP_INFO]' "OutputFolder=$output"
http_proxy=http://127.0.0.1:$port start_program
notice=$(find_window 'ルミクレートのアップデート。')
capture "$notice" update-notice
kill "$program"
wait "$program" 2>/dev/null || true

# The settings sheet from the 設定 menu, one picture per tab; the update check counts as done
# today, so the notice switch shows as a new user finds it.
write_settings '[APP_INFO]' "OutputFolder=$output" '[VERSION]' "last_day=$(date +%-d)"
start_program
main=$(find_window 'ルミクレート')
xdotool windowactivate --sync "$main" key --clearmodifiers alt+s a
sheet=$(find_window 'アプリ設定')
tabs=(settings-app settings-photo settings-movie settings-sound settings-version)
for i in "${!tabs[@]}"; do
  ((i == 0)) || xdotool key --window "$sheet" ctrl+Tab
  capture "$sheet" "${tabs[$i]}"
done

# Back to the photo tab and a right click on a built-in row: its menu has delete greyed. The
# menu opens at the pointer, so the picture is taken there.
xdotool key --window "$sheet" ctrl+Tab ctrl+Tab
sleep 0.3
xdotool mousemove --window "$sheet" 200 150 click 3
sleep 0.7
eval "$(xdotool getmouselocation --shell)"
import -window root -crop "180x64+$((X - 10))+$((Y - 10))" +repage "$shots/settings-context-menu.png"
echo "docs/screenshots/settings-context-menu.png"
# Its first item, the add dialog, with an extension typed in.
xdotool key Down Return
add=$(find_window '拡張子の追加')
xdotool type --delay 50 "heic"
capture "$add" settings-add-extension
