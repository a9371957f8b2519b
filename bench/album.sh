#!/usr/bin/env bash
# Times, side by side in one run on one corpus, the whole album of lumicrate-cli against the
# thumbnails of the same photos made by one vipsthumbnail process (all files on its command
# line) and by ImageMagick's convert one file at a time, as a script would; reports peak memory.
#   bench/album.sh CORPUS [BUILD] [ROUNDS]   (BUILD defaults to build, ROUNDS to 3)
# CORPUS is an output folder such as bench/make-album-corpus.sh makes; the album is written
# into it as PhotoAlbum, the others' thumbnails beside it. The photos are read once first, so
# every tool starts from the same warm page cache. Times are medians over the rounds, taken
# in turn; peak memory is the largest resident size of any one process of the tool.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
bench_start 9 album-bench "$@"
rounds=${3:-3}
# Debian's own binaries, so that no wrapper earlier in PATH is timed with them.
vipsthumbnail=${VIPSTHUMBNAIL:-/usr/bin/vipsthumbnail}
convert=${CONVERT:-/usr/bin/convert}
rm -rf "$corpus/PhotoAlbum"

find "$corpus" -path "$corpus/PhotoAlbum" -prune -o -type f -iname '*.jp*g' -print | sort >"$work/photos"
count=$(wc -l <"$work/photos")
xargs -d '\n' cat <"$work/photos" >/dev/null

lumicrate() { "$cli" album "$corpus"; }
vips_one_process() {
  rm -rf "$work/vips" && mkdir "$work/vips"
  xargs -d '\n' "$vipsthumbnail" --size 320x240 -o "$work/vips/%s.jpg[Q=80]" <"$work/photos"
}
magick_per_file() {
  rm -rf "$work/magick" && mkdir "$work/magick"
  while IFS= read -r photo; do
    "$convert" "$photo" -auto-orient -thumbnail 320x240 -quality 80 "$work/magick/$(basename "$photo")"
  done <"$work/photos"
}
export -f lumicrate vips_one_process magick_per_file
export cli corpus work vipsthumbnail convert

tools=(lumicrate vips_one_process magick_per_file)
declare -A times peaks
for ((round = 1; round <= rounds; round++)); do
  for tool in "${tools[@]}"; do
    read -r seconds kib < <(/usr/bin/time -f '%e %M' bash -c "$tool >/dev/null 2>&1" 2>&1 | tail -1)
    times[$tool]+="$seconds "
    ((kib > ${peaks[$tool]:-0})) && peaks[$tool]=$kib
    echo "round $round: $tool ${seconds}s, $((kib / 1024)) MiB" >&2
  done
done

made_lumicrate=$(find "$corpus/PhotoAlbum/thumb" -name '*.jpg' | wc -l)
made_vips=$(find "$work/vips" -name '*.jpg' | wc -l)
made_magick=$(find "$work/magick" -name '*.jpg' -o -name '*.JPG' | wc -l)
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
l=$(median "${times[lumicrate]}") v=$(median "${times[vips_one_process]}") m=$(median "${times[magick_per_file]}")

echo
echo "$count photos in $corpus ($(du -sh --exclude=PhotoAlbum "$corpus" | cut -f1)), $(nproc) cores, $rounds rounds"
printf '%-44s %9s %10s %11s\n' "" "seconds" "peak MiB" "thumbnails"
printf '%-44s %9s %10s %11s\n' "lumicrate-cli album (pages + thumbnails)" "$l" "$((peaks[lumicrate] / 1024))" "$made_lumicrate"
printf '%-44s %9s %10s %11s\n' "vipsthumbnail, one process" "$v" "$((peaks[vips_one_process] / 1024))" "$made_vips"
printf '%-44s %9s %10s %11s\n' "convert -thumbnail, one process per photo" "$m" "$((peaks[magick_per_file] / 1024))" "$made_magick"
echo
awk -v l="$l" -v v="$v" -v m="$m" 'BEGIN {
  printf "album / vipsthumbnail = %.2f (goal at most 0.6)\n", l / v
  printf "convert / album       = %.1f (goal at least 5)\n", m / l }'
