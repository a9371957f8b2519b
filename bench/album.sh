#!/usr/bin/env bash
# Times, side by side in one run on one corpus, the album of lumicrate-cli built from nothing,
# rebuilt after 1% new photos and rebuilt with nothing changed, against the thumbnails of the
# same photos made by one vipsthumbnail process (all files on its command line) and by
# ImageMagick's convert one file at a time, as a script would; reports peak memory.
#   bench/album.sh CORPUS [BUILD] [ROUNDS]   (BUILD defaults to build, ROUNDS to 3)
# CORPUS is an output folder such as bench/make-album-corpus.sh makes; the album is written
# into it as PhotoAlbum, the others' thumbnails beside it. The new photos are copies of the
# corpus's first ones under new names, removed again at the end of each round. CONVERT=none
# leaves convert out (it takes about 0.5 s a photo). The photos are read once first, so every
# tool starts from the same warm page cache. Times are medians over the rounds, taken in turn;
# peak memory is the largest resident size of any one process of the tool.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
bench_start 12 album-bench "$@"
rounds=${3:-3}
# Debian's own binaries, so that no wrapper earlier in PATH is timed with them.
vipsthumbnail=${VIPSTHUMBNAIL:-/usr/bin/vipsthumbnail}
convert=${CONVERT:-/usr/bin/convert}
added="$corpus/bench-added"
rm -rf "$corpus/PhotoAlbum" "$added"

find "$corpus" -path "$corpus/PhotoAlbum" -prune -o -type f -iname '*.jp*g' -print | sort >"$work/photos"
count=$(wc -l <"$work/photos")
xargs -d '\n' cat <"$work/photos" >/dev/null
new=$(((count + 99) / 100))

lumicrate_full() { rm -rf "$corpus/PhotoAlbum" && "$cli" album "$corpus"; }
lumicrate_more() { "$cli" album "$corpus"; }
lumicrate_same() { "$cli" album "$corpus"; }
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
export -f lumicrate_full lumicrate_more lumicrate_same vips_one_process magick_per_file
export cli corpus work vipsthumbnail convert

# Adds the 1% new photos before the rebuild that finds them, flushed to disk as an import
# leaves them. A second passes first, as it would between an import and the album button.
add_photos() {
  mkdir -p "$added"
  head -n "$new" "$work/photos" | awk '{ printf "%s\t%s/new_%04d.jpg\n", $0, dir, NR }' dir="$added" |
    while IFS=$'\t' read -r from to; do cp "$from" "$to"; done
  sync -f "$corpus"
  sleep 1
}

tools=(lumicrate_full lumicrate_more lumicrate_same vips_one_process)
[[ "$convert" != none ]] && tools+=(magick_per_file)
declare -A times peaks made
for ((round = 1; round <= rounds; round++)); do
  for tool in "${tools[@]}"; do
    [[ $tool == lumicrate_more ]] && add_photos
    read -r seconds kib < <(/usr/bin/time -f '%e %M' bash -c "$tool >/dev/null 2>&1" 2>&1 | tail -1)
    times[$tool]+="$seconds "
    ((kib > ${peaks[$tool]:-0})) && peaks[$tool]=$kib
    echo "round $round: $tool ${seconds}s, $((kib / 1024)) MiB" >&2
    [[ $tool == lumicrate_* ]] && made[$tool]=$(find "$corpus/PhotoAlbum/thumb" -name '*.jpg' | wc -l)
  done
  rm -rf "$added"
done

made_vips=$(find "$work/vips" -name '*.jpg' | wc -l)
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
f=$(median "${times[lumicrate_full]}") p=$(median "${times[lumicrate_more]}") s=$(median "${times[lumicrate_same]}")
v=$(median "${times[vips_one_process]}")

echo
echo "$count photos in $corpus ($(du -sh --exclude=PhotoAlbum "$corpus" | cut -f1)), $(nproc) cores, $rounds rounds," \
  "load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-46s %9s %10s %11s\n' "" "seconds" "peak MiB" "thumbnails"
printf '%-46s %9s %10s %11s\n' "lumicrate-cli album, from nothing" "$f" "$((peaks[lumicrate_full] / 1024))" "${made[lumicrate_full]}"
printf '%-46s %9s %10s %11s\n' "lumicrate-cli album, after $new new photos" "$p" "$((peaks[lumicrate_more] / 1024))" \
  "${made[lumicrate_more]}"
printf '%-46s %9s %10s %11s\n' "lumicrate-cli album, nothing changed" "$s" "$((peaks[lumicrate_same] / 1024))" \
  "${made[lumicrate_same]}"
printf '%-46s %9s %10s %11s\n' "vipsthumbnail, one process" "$v" "$((peaks[vips_one_process] / 1024))" "$made_vips"
if [[ "$convert" != none ]]; then
  m=$(median "${times[magick_per_file]}")
  printf '%-46s %9s %10s %11s\n' "convert -thumbnail, one process per photo" "$m" \
    "$((peaks[magick_per_file] / 1024))" "$(find "$work/magick" -iname '*.jpg' | wc -l)"
fi
echo
awk -v f="$f" -v p="$p" -v s="$s" -v v="$v" 'BEGIN {
  printf "full / vipsthumbnail     = %.2f (goal at most 0.5)\n", f / v
  printf "+1%% / full               = %.3f (goal at most 0.1)\n", p / f
  printf "nothing changed / full   = %.3f (goal at most 0.05)\n", s / f }'
[[ "$convert" != none ]] && awk -v m="$m" -v f="$f" 'BEGIN { printf "convert / full           = %.1f\n", m / f }'
true
