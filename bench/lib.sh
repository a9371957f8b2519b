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
