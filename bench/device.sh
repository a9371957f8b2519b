#!/usr/bin/env bash
# Times, in one run on one corpus, a device import through libgphoto2's directory driver
# (lumicrate-cli import --port disk:CORPUS) against gphoto2 --get-all-files fetching the same
# files through the same driver, each into a fresh folder, ROUNDS times in turn; reports each
# round, the median and peak memory. Both are timed to the data being on disk (lumicrate-cli
# flushes itself; gphoto2 is followed by sync -f). The corpus is read once before, so both
# start from the same warm page cache.
#   bench/device.sh CORPUS [BUILD [ROUNDS]]   (BUILD defaults to build, ROUNDS to 3)
# Make a corpus with: bench/make-corpus.sh /tmp/device-corpus 500 3000
set -euo pipefail
. "$(dirname "$0")/lib.sh"
bench_start 9 device-bench "$@"
rounds=${3:-3}

find "$corpus" -type f -exec cat {} + >/dev/null

# Prints "seconds peak-KiB" for one command run in folder dest.
measure() {
  local dest=$1 command=$2
  rm -rf "$dest"
  mkdir -p "$dest"
  (cd "$dest" && /usr/bin/time -f '%e %M' sh -c "$command >/dev/null 2>&1; sync -f ." 2>&1 | tail -1)
}

declare -A seconds peak
declare -A commands=(
  [lumicrate]="'$cli' import --port 'disk:$corpus' --output '$work/lumicrate'"
  [gphoto2]="gphoto2 --camera 'Directory Browse' --port 'disk:$corpus' --get-all-files"
)
for ((round = 1; round <= rounds; round++)); do
  # Each goes first in every other round, so neither always finds the disk busier.
  order=(lumicrate gphoto2)
  ((round % 2 == 0)) && order=(gphoto2 lumicrate)
  for tool in "${order[@]}"; do
    read -r seconds[$tool,$round] peak[$tool,$round] < <(measure "$work/$tool" "${commands[$tool]}")
  done
done

files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus, $files files, $(du -sh "$corpus" | cut -f1)"
printf '%-10s %s %10s %10s\n' tool "$(for ((r = 1; r <= rounds; r++)); do printf '%8s ' "round$r"; done)" median "peak MiB"
for tool in lumicrate gphoto2; do
  times=() peaks=()
  for ((r = 1; r <= rounds; r++)); do
    times+=("${seconds[$tool,$r]}")
    peaks+=("${peak[$tool,$r]}")
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  max_peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
  printf '%-10s %s %10.2f %10.1f\n' "$tool" "$(printf '%8.2f ' "${times[@]}")" "$median" \
    "$(echo "$max_peak / 1024" | bc -l)"
done
echo "lumicrate-cli copied $(find "$work/lumicrate" -type f ! -name '.*' | wc -l) files," \
  "gphoto2 saved $(find "$work/gphoto2" -type f | wc -l); log: $HOME/Documents/Lumicrate/log.txt"
