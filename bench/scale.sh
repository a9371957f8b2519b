#!/usr/bin/env bash
# Shows that an import's time grows with the card and the dates it touches, not with the size of
# the library: a card of 500 photos on 50 dates imported into a library of 100,000 files over
# 3,000 date folders (layout 13), beside the same card into an empty output folder; median of
# ROUNDS rounds, peak memory, both timed to the data being on disk.
#   [ROUNDS=3] bench/scale.sh WORK [BUILD]   (WORK holds the library and the card; kept between
#   invocations, since making the library takes a while; outputs go beside it)
set -euo pipefail
mkdir -p "${1:?usage: bench/scale.sh WORK [BUILD]}"
. "$(dirname "$0")/lib.sh"
bench_start 7 scale "$@"

library=$corpus/library card=$corpus/card
if [[ ! -d $card ]]; then
  rm -rf "$library" "$card.tmp"
  mkdir -p "$card.tmp"
  bench_base_jpeg "$card.tmp" 50
  python3 - "$library" "$card.tmp" <<'PY'
import datetime, os, random, sys
library, card = sys.argv[1:]
rng = random.Random(100000)
first = datetime.date(2010, 1, 1)
dates = [first + datetime.timedelta(days=d) for d in range(3000)]
# 100,000 small files over the 3,000 date folders; only their first and last bytes are ever
# read unless a card's photo has the same size and hash.
for i in range(100000):
    day = dates[i % 3000]
    folder = os.path.join(library, '%04d年' % day.year, '%02d月' % day.month, '%02d日' % day.day)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'LIB_%06d.JPG' % i), 'wb') as f:
        f.write(rng.randbytes(1024 + rng.randrange(1024)))
data = open(os.path.join(card, 'base.jpg'), 'rb').read()
marker = b'2000:01:01 00:00:00'
os.makedirs(os.path.join(card, 'DCIM', '100LUMIC'))
for i in range(500):
    day = dates[(i % 50) * 60]
    taken = datetime.datetime(day.year, day.month, day.day, 8 + i % 12, i % 60)
    path = os.path.join(card, 'DCIM', '100LUMIC', 'CARD_%04d.JPG' % i)
    with open(path, 'wb') as f:
        f.write(data.replace(marker, taken.strftime('%Y:%m:%d %H:%M:%S').encode()))
        f.write(rng.randbytes(64))
os.remove(os.path.join(card, 'base.jpg'))
PY
  mv "$card.tmp" "$card"
fi
find "$card" -type f -exec cat {} + >/dev/null

rounds=${ROUNDS:-3}
declare -A samples
for ((round = 0; round < rounds; round++)); do
  for output in library empty; do
    dest=$library
    if [[ $output == empty ]]; then
      dest=$work/empty
      rm -rf "$dest"
    fi
    # The library as it was: the card's photos of the last round go.
    find "$library" -name 'CARD_*' -delete
    samples[$output]+="$(/usr/bin/time -f '%e %M' sh -c "'$cli' import '$card' --output '$dest' >/dev/null 2>&1" 2>&1 | tail -1)"$'\n'
  done
done
find "$library" -name 'CARD_*' -delete

echo "card: 500 photos on 50 dates; library: $(find "$library" -type f | wc -l) files in $(find "$library" -mindepth 3 -type d | wc -l) date folders; median of $rounds rounds"
printf '%-10s %10s %12s\n' output seconds "peak MiB"
for output in empty library; do
  secs=$(printf '%s' "${samples[$output]}" | awk 'NF {print $1}' | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
  kib=$(printf '%s' "${samples[$output]}" | awk 'NF && $2 > m {m = $2} END {print m}')
  printf '%-10s %10.2f %12.1f\n' "$output" "$secs" "$(echo "$kib / 1024" | bc -l)"
done
