#!/usr/bin/env bash
# Times saving the settings sheet's three extension tables: one replacement of the settings
# file per key against one replacement for all. FOLDER should be on the disk to measure (the
# settings file lives in the documents folder); it is made and left holding only the file.
#   [ROUNDS=9] bench/settings-save.sh FOLDER [BUILD]   (BUILD defaults to build)
set -euo pipefail
if (($# < 1)); then
  sed -n "2,5p" "$0" >&2
  exit 2
fi
build=${2:-build}
cmake --build "$build" --target bench_settings_save >/dev/null
"$build/bench_settings_save" "$1" "${ROUNDS:-9}"
