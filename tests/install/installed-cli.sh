#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and runs the installed lumicrate-cli on the sample
# card as a user would: import, album with the template from share/lumicrate, and the clear
# failure of an album run whose template has gone.
# Usage: installed-cli.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake=$1 build=$2 source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
export HOME=$scratch/home
# The settings, log and instance lock follow HOME alone, never a real session's.
unset XDG_CONFIG_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$scratch/install.log"

for path in bin/lumicrate bin/lumicrate-cli share/lumicrate/Template/0001/picture.html \
  share/lumicrate/Template/0001/make_photo_album.css share/lumicrate/menu_image.bmp \
  share/applications/example.lumicrate.Lumicrate.desktop share/metainfo/example.lumicrate.Lumicrate.metainfo.xml \
  share/man/man1/lumicrate.1.gz share/man/man1/lumicrate-cli.1.gz share/bash-completion/completions/lumicrate-cli \
  share/icons/hicolor/scalable/apps/lumicrate.svg \
  share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/lumicrate.png; do
  [[ -e $root/usr/$path ]] || fail "not installed: /usr/$path"
done
[[ ! -e $root/usr/bin/Template ]] || fail "the template belongs in share/lumicrate, not beside the program"

cli=$root/usr/bin/lumicrate-cli
out=$scratch/out
"$cli" import "$source/samples/card" --output "$out" >"$scratch/import.log" 2>&1 || fail "import: $(cat "$scratch/import.log")"
grep -q "コピーファイルの数 = 7" "$scratch/import.log" || fail "import copied other than 7 files: $(cat "$scratch/import.log")"
[[ -f "$out/2023年/04月/01日/IMG_0001.JPG" ]] || fail "IMG_0001.JPG not filed by its capture date: $(find "$out")"

"$cli" album "$out" >"$scratch/album.log" 2>&1 || fail "album: $(cat "$scratch/album.log")"
tail -n 1 "$scratch/album.log" | grep -qx "$out/PhotoAlbum/index.html" || fail "album: $(cat "$scratch/album.log")"
cmp -s "$out/PhotoAlbum/picture.html" "$source/Template/0001/picture.html" || fail "the album's viewer page is not the template's"
ls "$out"/PhotoAlbum/thumb/*/*.jpg >/dev/null || fail "the album has no thumbnails"

rm -r "$root/usr/share/lumicrate/Template"
if "$cli" album "$out" >"$scratch/missing.log" 2>&1; then
  fail "an album run without its template reported success"
fi
grep -q "テンプレートがありません: $root/usr/share/lumicrate/Template/0001/picture.html" "$scratch/missing.log" ||
  fail "no clear message for the missing template: $(cat "$scratch/missing.log")"
cmp -s "$out/PhotoAlbum/picture.html" "$source/Template/0001/picture.html" || fail "the failed run touched the album"
echo "installed lumicrate-cli imported the sample card and built its album"
