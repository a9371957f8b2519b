#!/usr/bin/env bash
# Makes a memory-card-like corpus for the import benchmark: N photos of about a given size with
# varied EXIF dates, a few movies, and some photos copied a second time under other names.
#   bench/make-corpus.sh DIR PHOTOS PHOTO_KB [MOVIES MOVIE_MB [DUPLICATES]]
# Example: bench/make-corpus.sh /tmp/corpus-a 200 6000 3 300 10
set -euo pipefail
if (($# < 3)); then
  sed -n '2,5p' "$0" >&2
  exit 2
fi
dir=$1 photos=$2 photo_kb=$3 movies=${4:-0} movie_mb=${5:-0} duplicates=${6:-0}
[[ -e "$dir" ]] && { echo "$dir exists; remove it first" >&2; exit 2; }
mkdir -p "$dir/DCIM"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/lib.sh"
bench_base_jpeg "$work" "$photo_kb"
width=$base_width height=$base_height

python3 - "$dir" "$work/base.jpg" "$photos" "$movies" "$movie_mb" "$duplicates" <<'PY'
import datetime, os, random, shutil, sys
out, base, photos, movies, movie_mb, duplicates = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:])
rng = random.Random(20150621)
data = open(base, 'rb').read()
marker = b'2000:01:01 00:00:00'
assert data.count(marker) == 1
# Photos come in bursts on a few days each, like a card's worth of outings.
days = [datetime.datetime(2021, 1, 1) + datetime.timedelta(days=rng.randrange(3 * 365)) for _ in range(max(1, photos // 20))]
paths = []
for i in range(photos):
    taken = rng.choice(days) + datetime.timedelta(seconds=rng.randrange(8 * 3600, 20 * 3600))
    folder = os.path.join(out, 'DCIM', '%03dLUMIC' % (100 + i // 500))
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, 'IMG_%04d.JPG' % (i + 1))
    # Each photo differs from the others in its date and in the bytes at its end.
    with open(path, 'wb') as f:
        f.write(data.replace(marker, taken.strftime('%Y:%m:%d %H:%M:%S').encode()))
        f.write(rng.randbytes(64))
    os.utime(path, (taken.timestamp(), taken.timestamp()))
    paths.append(path)
for i in range(movies):
    path = os.path.join(out, 'DCIM', '100LUMIC', 'MVI_%04d.MOV' % (9000 + i))
    with open(path, 'wb') as f:
        for _ in range(movie_mb):
            f.write(rng.randbytes(1 << 20))
    when = rng.choice(days).timestamp() + 43200
    os.utime(path, (when, when))
if duplicates:
    os.makedirs(os.path.join(out, 'DCIM', 'BACKUP'), exist_ok=True)
for i, path in enumerate(rng.sample(paths, min(duplicates, len(paths)))):
    shutil.copy2(path, os.path.join(out, 'DCIM', 'BACKUP', 'COPY_%04d.JPG' % i))
PY
echo "$dir: $(find "$dir" -type f | wc -l) files, $(du -sh "$dir" | cut -f1); photos ${width}x${height}, $(stat -c %s "$dir/DCIM/100LUMIC/IMG_0001.JPG") bytes"
