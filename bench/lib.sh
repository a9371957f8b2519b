# Shared start of the benchmark scripts; sourced, not run.
# bench_start LAST_USAGE_LINE WORK_SUFFIX CORPUS [BUILD ...] prints the calling script's usage
# (its comment lines 2 to LAST_USAGE_LINE) when no corpus is given, and otherwise sets corpus,
# cli (the lumicrate-cli of BUILD, default build) and work, a fresh folder beside the corpus
# whose home/ becomes HOME, so no run touches the user's own settings.
bench_start() {
  local usage_end=$1 suffix=$2
  shift 2
  if (($# < 1)); then
    sed -n "2,${usage_end}p" "$0" >&2
    exit 2
  fi
  corpus=$(cd "$1" && pwd)
  cli="$(cd "$(dirname "$0")/.." && pwd)/${2:-build}/lumicrate-cli"
  work="$corpus.$suffix"
  rm -rf "$work"
  mkdir -p "$work/home"
  export HOME="$work/home"
}

# bench_base_jpeg DIR KB writes DIR/base.jpg: a noisy photo of about KB kilobytes (noise compresses
# like a busy photo, about 0.46 bytes a pixel at quality 88, 4:3) whose only EXIF date is
# DateTimeOriginal "2000:01:01 00:00:00", for the generators to replace.
bench_base_jpeg() {
  local dir=$1 kb=$2 width height
  read -r width height < <(python3 -c "import math; p=$kb*1000/0.46; w=int(math.sqrt(p*4/3)); print(w, int(w*3/4))")
  vips gaussnoise "$dir/n.v" "$width" "$height" --sigma 20 --mean 128
  vips cast "$dir/n.v" "$dir/c.v" uchar
  vips colourspace "$dir/c.v" "$dir/rgb.v" srgb
  vips jpegsave "$dir/rgb.v" "$dir/base.jpg" --Q 88
  exiftool -q -overwrite_original -Make=Lumicrate -Model=Bench "-DateTimeOriginal=2000:01:01 00:00:00" "$dir/base.jpg"
  rm -f "$dir/n.v" "$dir/c.v" "$dir/rgb.v"
  base_width=$width base_height=$height
}
