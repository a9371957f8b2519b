#!/usr/bin/env bash
# Makes an output folder like one that imports have filled, for the album benchmark: N JPEG
# photos of WIDTH x HEIGHT in year/month/day folders, with EXIF dates over two years, every
# seventh photo stored sideways (orientation 6) and every third with a GPS position.
#   bench/make-album-corpus.sh DIR N [WIDTH HEIGHT]
# Example: bench/make-album-corpus.sh /tmp/album-corpus 200 4000 3000   (12 megapixels)
set -euo pipefail
if (($# < 2)); then
  sed -n '2,5p' "$0" >&2
  exit 2
fi
dir=$1 photos=$2 width=${3:-4000} height=${4:-3000}
[[ -e "$dir" ]] && { echo "$dir exists; remove it first" >&2; exit 2; }
mkdir -p "$dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Eight pictures of soft colour fields with a fine grain: they decode and compress like
# photos (about 4 MB at 12 megapixels, quality 90), and thumbnails of them are easy to tell apart.
for i in 0 1 2 3 4 5 6 7; do
  for band in r g b; do
    vips gaussnoise "$work/$band.v" 5 4 --sigma 70 --mean 128
  done
  vips bandjoin "$work/r.v $work/g.v $work/b.v" "$work/c.v"
  vips resize "$work/c.v" "$work/big.v" "$(python3 -c "print(max($width / 5, $height / 4))")" --kernel cubic
  vips crop "$work/big.v" "$work/fit.v" 0 0 "$width" "$height"
  vips gaussnoise "$work/grain.v" "$width" "$height" --sigma 8 --mean 0
  vips add "$work/fit.v" "$work/grain.v" "$work/sum.v"
  vips cast "$work/sum.v" "$work/u.v" uchar
  vips copy "$work/u.v" "$work/srgb.v" --interpretation srgb
  vips jpegsave "$work/srgb.v" "$work/base$i.jpg" --Q 90
  # Four variants of each: plain, sideways, and with a northern-eastern or southern-western position.
  cp "$work/base$i.jpg" "$work/plain$i.jpg"
  cp "$work/base$i.jpg" "$work/turned$i.jpg"
  cp "$work/base$i.jpg" "$work/north$i.jpg"
  cp "$work/base$i.jpg" "$work/south$i.jpg"
  exiftool -q -overwrite_original -Make=Lumicrate -Model=AlbumBench "-DateTimeOriginal=2000:01:01 00:00:00" \
    "$work/plain$i.jpg" "$work/turned$i.jpg" "$work/north$i.jpg" "$work/south$i.jpg"
  exiftool -q -overwrite_original -Orientation#=6 "$work/turned$i.jpg"
  exiftool -q -overwrite_original -GPSLatitude=35.681236 -GPSLatitudeRef=N -GPSLongitude=139.767125 \
    -GPSLongitudeRef=E "$work/north$i.jpg"
  exiftool -q -overwrite_original -GPSLatitude=33.856784 -GPSLatitudeRef=S -GPSLongitude=70.648271 \
    -GPSLongitudeRef=W "$work/south$i.jpg"
done

python3 - "$dir" "$work" "$photos" <<'PY'
import datetime, os, random, sys
out, work, photos = sys.argv[1], sys.argv[2], int(sys.argv[3])
rng = random.Random(20150321)
marker = b'2000:01:01 00:00:00'
# Outings of a few dozen photos each, spread over two years.
days = sorted(datetime.datetime(2023, 1, 1) + datetime.timedelta(days=rng.randrange(2 * 365))
              for _ in range(max(1, photos // 25)))
for i in range(photos):
    kind = 'turned' if i % 7 == 3 else 'north' if i % 6 == 1 else 'south' if i % 6 == 4 else 'plain'
    data = open(os.path.join(work, '%s%d.jpg' % (kind, i % 8)), 'rb').read()
    assert data.count(marker) == 1
    taken = days[i * len(days) // photos] + datetime.timedelta(seconds=8 * 3600 + 97 * i)
    folder = os.path.join(out, taken.strftime('%Y年'), taken.strftime('%m月'), taken.strftime('%d日'))
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, 'IMG_%04d.JPG' % (i + 1))
    with open(path, 'wb') as f:
        f.write(data.replace(marker, taken.strftime('%Y:%m:%d %H:%M:%S').encode()))
    os.utime(path, (taken.timestamp(), taken.timestamp()))
PY
echo "$dir: $photos photos ${width}x${height}, $(du -sh "$dir" | cut -f1)"
