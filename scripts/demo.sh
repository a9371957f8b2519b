#!/usr/bin/env bash
# The main job on the bundled sample: import a sample memory card into ./demo-output and
# build its photo album. A scratch HOME keeps the demo's settings and log out of yours.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
export HOME="$root/demo-home"
mkdir -p "$HOME"
echo "The sample import and album arrive with the import and album commands of lumicrate-cli."
"$root/$build/lumicrate-cli" --help
