#!/usr/bin/env bash
# Times, in one run on one corpus, lumicrate-cli import against `cp -a` of the same tree (the
# bound the disk sets) and against exiftool sorting the same files into dated folders, for a
# first import and for a repeat where everything is already there; reports peak memory.
#   bench/run.sh CORPUS [BUILD]      (BUILD defaults to build; outputs go beside CORPUS)
# Every command ends with the output file system flushed (lumicrate-cli does it itself; the
# others are followed by sync -f), so each is timed to the data being on disk. The corpus is
# read once before, so all three start from the same warm page cache.
set -euo pipefail
if (($# < 1)); then
  sed -n '2,8p' "$0" >&2
  exit 2
fi
corpus=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
cli="$root/${2:-build}/lumicrate-cli"
work="$corpus.bench"
rm -rf "$work"
mkdir -p "$work/home"
export HOME="$work/home"

find "$corpus" -type f -exec cat {} + >/dev/null

# Prints "seconds peak-KiB" for one command.
measure() {
  local out
  out=$(/usr/bin/time -f '%e %M' sh -c "$1 >/dev/null 2>&1; sync -f '$2'" 2>&1 | tail -1)
  echo "$out"
}

declare -A result
tools=(lumicrate cp exiftool)
for pass in first repeat; do
  for tool in "${tools[@]}"; do
    dest="$work/$tool"
    mkdir -p "$dest"
    case $tool in
      lumicrate) command="'$cli' import '$corpus' --output '$dest'" ;;
      cp) command="cp -a '$corpus/.' '$dest/'" ;;
      # Files without DateTimeOriginal (the movies) go by their modification date, as ours do.
      exiftool) command="exiftool -q -q -r -o '$dest/' -d '$dest/%Y/%m/%d' '-Directory<FileModifyDate' '-Directory<DateTimeOriginal' '$corpus'" ;;
    esac
    result[$pass,$tool]=$(measure "$command" "$dest")
  done
done

files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus, $files files, $(du -sh "$corpus" | cut -f1)"
printf '%-10s %-8s %10s %12s %12s\n' pass tool seconds "peak MiB" "vs cp -a"
for pass in first repeat; do
  read -r cp_s _ <<<"${result[$pass,cp]}"
  for tool in "${tools[@]}"; do
    read -r s kib <<<"${result[$pass,$tool]}"
    printf '%-10s %-8s %10.2f %12.1f %11.2fx\n' "$pass" "$tool" "$s" "$(echo "$kib / 1024" | bc -l)" \
      "$(echo "$s / $cp_s" | bc -l)"
  done
done
copied=$(find "$work/lumicrate" -type f ! -name '.*' | wc -l)
echo "lumicrate-cli copied $copied files; log: $work/home/Documents/Lumicrate/log.txt"
