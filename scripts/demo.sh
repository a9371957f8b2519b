#!/usr/bin/env bash
# The main job on the bundled sample: import a sample memory card into ./demo-output and
# build its photo album. A scratch HOME keeps the demo's settings and log out of yours.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
cli="$root/$build/lumicrate-cli"
export HOME="$root/demo-home"
mkdir -p "$HOME"

# 1. Import the card: five photos (four with EXIF dates, one filed by its file time), a movie,
#    a sound recording and a second copy of one photo under another name; the .THM and .XML
#    files are not media and stay behind. Run it again and everything is a duplicate.
"$cli" import "$root/samples/card" --output "$root/demo-output"

# 2. The photo album of the output folder: a start page, a page per month and a thumbnail per
#    photo in demo-output/PhotoAlbum. The last line it prints is the start page to open.
"$cli" album "$root/demo-output"

echo
echo "demo-output:"
(cd "$root/demo-output" && find . -path ./PhotoAlbum -prune -o -type f ! -name '.*' -print | sort)
echo
echo "写真一覧: file://$root/demo-output/PhotoAlbum/index.html"
