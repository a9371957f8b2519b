#!/usr/bin/env bash
# The bash completion of lumicrate-cli as bash-completion runs it: commands, options, folders
# and the disk: port, each line split into words as bash splits it (":" is a word of its own).
# Usage: bash-completion.sh SOURCE_DIR
set -uo pipefail
source=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/photos" "$scratch/pictures"
touch "$scratch/photo.jpg"
cd "$scratch" || exit 1

source /usr/share/bash-completion/bash_completion
source "$source/resources/lumicrate-cli.bash-completion"

failures=0
# expect WORDS LINE: completing at the end of LINE offers WORDS (sorted, space-separated).
expect() {
  local expected=$1 line=$2
  read -ra COMP_WORDS <<<"${line//:/ : }"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _lumicrate_cli lumicrate-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
  if [[ $got != "$expected" ]]; then
    echo "FAIL: [$line] gave [$got], expected [$expected]"
    failures=$((failures + 1))
  fi
}

expect "--help album devices import" "lumicrate-cli "
expect "album" "lumicrate-cli al"
expect "--device --help --layout --output --port" "lumicrate-cli import --"
expect "photos pictures" "lumicrate-cli import p"
expect "photos" "lumicrate-cli import x --output ph"
expect "1 10 11 12 13" "lumicrate-cli import x --layout 1"
expect "disk:" "lumicrate-cli import --port d"
expect "photos/ pictures/" "lumicrate-cli import --port disk:p"
expect "--help --port" "lumicrate-cli devices --"
expect "photos" "lumicrate-cli album ph"
expect "--help" "lumicrate-cli album --h"

# Every command the program lists is completed.
while read -r command; do
  expect "$command" "lumicrate-cli $command"
done < <("$LUMICRATE_CLI" --help | sed -n 's/^  lumicrate-cli \([a-z]*\) .*/\1/p')

((failures == 0)) && echo "bash completion of lumicrate-cli works"
exit $((failures > 0))
