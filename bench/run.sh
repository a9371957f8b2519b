#!/usr/bin/env bash
# Times, in one run on one corpus, lumicrate-cli import against `cp -a` of the same tree (the
# bound the disk sets) and against exiftool sorting the same files into dated folders, for a
# first import and for a repeat where everything is already there; reports peak memory.
#   [ROUNDS=3] bench/run.sh CORPUS [BUILD]   (BUILD defaults to build; outputs go beside CORPUS)
# Every command ends with the output file system flushed (lumicrate-cli does it itself; the
# others are followed by sync -f), so each is timed to the data being on disk. The corpus is
# read once before, so all three start from the same warm page cache.
# As root, each first import writes to a new ext4 file system of its own (an image beside the
# corpus on a direct-I/O loop device), as an import from a card writes to another disk: on a
# shared file system, inodes freed in the last half minute (the previous round's output) make
# every file creation slower by a varying amount. Without root, or with FRESH_FS=0, the outputs
# are folders beside the corpus, each round in its own, all removed when the next benchmark
# starts.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
bench_start 15 bench "$@"

find "$corpus" -type f -exec cat {} + >/dev/null

fresh_fs=0
if [[ ${FRESH_FS:-1} != 0 && $(id -u) == 0 ]] && command -v mkfs.ext4 >/dev/null && command -v losetup >/dev/null; then
  fresh_fs=1
fi
image=$work/output.img mount_point=$work/mnt

unmount_output() {
  if mountpoint -q "$mount_point"; then
    local device
    device=$(findmnt -no SOURCE "$mount_point")
    umount "$mount_point"
    losetup -d "$device" 2>/dev/null || true
  fi
}
trap unmount_output EXIT

# Prints the folder the next first import writes to: on a new file system, or a new folder.
new_output() {
  if ((fresh_fs)); then
    unmount_output
    # The image is made once and formatted anew each time without discarding its blocks, so no
    # round pays for the host freeing and allocating the previous round's gigabytes.
    [[ -f $image ]] || truncate -s "$(($(du -sm "$corpus" | cut -f1) * 3 + 512))M" "$image"
    mkfs.ext4 -q -F -E lazy_itable_init=0,lazy_journal_init=0,nodiscard "$image"
    mkdir -p "$mount_point"
    mount "$(losetup --find --show --direct-io=on "$image")" "$mount_point"
    mkdir "$mount_point/$1"
    echo "$mount_point/$1"
  else
    mkdir -p "$work/$2/$1"
    echo "$work/$2/$1"
  fi
}

# Prints "seconds peak-KiB" for one command.
measure() {
  local out
  out=$(/usr/bin/time -f '%e %M' sh -c "$1 >/dev/null 2>&1; sync -f '$2'" 2>&1 | tail -1)
  echo "$out"
}

# Each round runs every tool, first import then repeat, in a rotated order; the median of the
# rounds is reported, since a shared disk's speed wanders from one minute to the next.
rounds=${ROUNDS:-3}
tools=(lumicrate cp exiftool)
declare -A samples
for ((round = 0; round < rounds; round++)); do
  for ((i = 0; i < ${#tools[@]}; i++)); do
    tool=${tools[(i + round) % ${#tools[@]}]}
    dest=$(new_output "$tool" "round$round")
    sync
    case $tool in
      lumicrate) command="'$cli' import '$corpus' --output '$dest'" ;;
      cp) command="cp -a '$corpus/.' '$dest/'" ;;
      # Files without DateTimeOriginal (the movies) go by their modification date, as ours do.
      exiftool) command="exiftool -q -q -r -o '$dest/' -d '$dest/%Y/%m/%d' '-Directory<FileModifyDate' '-Directory<DateTimeOriginal' '$corpus'" ;;
    esac
    for pass in first repeat; do
      samples[$pass,$tool]+="$(measure "$command" "$dest")"$'\n'
    done
  done
done

# The median seconds of a tool's rounds, and the largest peak memory.
summary() {
  local secs kib
  secs=$(printf '%s' "$1" | awk 'NF {print $1}' | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
  kib=$(printf '%s' "$1" | awk 'NF && $2 > m {m = $2} END {print m}')
  echo "$secs $kib"
}

files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus, $files files, $(du -sh "$corpus" | cut -f1); median of $rounds rounds"
printf '%-10s %-8s %10s %12s %12s\n' pass tool seconds "peak MiB" "vs cp -a"
for pass in first repeat; do
  read -r cp_s _ <<<"$(summary "${samples[$pass,cp]}")"
  for tool in "${tools[@]}"; do
    read -r s kib <<<"$(summary "${samples[$pass,$tool]}")"
    printf '%-10s %-8s %10.2f %12.1f %11.2fx\n' "$pass" "$tool" "$s" "$(echo "$kib / 1024" | bc -l)" \
      "$(echo "$s / $cp_s" | bc -l)"
  done
done
last=$(new_output check check)
"$cli" import "$corpus" --output "$last" >/dev/null 2>&1
copied=$(find "$last" -type f ! -name '.*' | wc -l)
echo "lumicrate-cli copied $copied files; log: $work/home/Documents/Lumicrate/log.txt"
if ((fresh_fs)); then
  echo "outputs: a new ext4 file system per first import (direct-I/O loop device)"
fi
