#!/usr/bin/env bash
# Installs the built Debian package with apt as a user would, runs the installed lumicrate-cli
# on the sample card (import, then album) and starts the desktop program under Xvfb, then
# purges the package and every package it pulled in, leaving the machine as it was.
# Runs as root. Usage: scripts/package-check.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fail() {
  echo "package-check: $*" >&2
  exit 1
}

[[ $(id -u) -eq 0 ]] || fail "needs root (apt-get install and purge)"
debs=("$build"/lumicrate_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one package in $build, found: ${debs[*]} (run make package)"
if dpkg-query -W -f='${Status}' lumicrate 2>/dev/null | grep -q installed || compgen -G "/usr/bin/lumicrate*" >/dev/null; then
  fail "lumicrate is already installed here; the check installs and removes it, so it does not run over an existing one"
fi

installed_packages() {
  dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 ~ /^.i/ { print $2 }' | sort
}

scratch=$(mktemp -d)
before=$(installed_packages)
# Whatever happens below, the package and every package apt installed for it go again.
remove_added() {
  local added
  mapfile -t added < <(comm -13 <(echo "$before") <(installed_packages))
  if ((${#added[@]})); then
    echo "Removing: ${added[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${added[@]}" >"$scratch/purge.log" 2>&1 ||
      cat "$scratch/purge.log" >&2
  fi
}
trap 'set +e; remove_added; rm -rf "$scratch"' EXIT

# apt reads a local package as its own unprivileged user, so the copy must be readable to it.
chmod 755 "$scratch"
deb=$scratch/$(basename "${debs[0]}")
install -m 644 "${debs[0]}" "$deb"
echo "Installing $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$scratch/install.log" 2>&1 ||
  fail "apt-get install failed: $(cat "$scratch/install.log")"

export HOME=$scratch/home
# The settings, log and instance lock follow HOME alone, never a real session's.
unset XDG_CONFIG_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME"
out=$scratch/output
/usr/bin/lumicrate-cli import samples/card --output "$out"
/usr/bin/lumicrate-cli album "$out"
cmp -s "$out/PhotoAlbum/picture.html" /usr/share/lumicrate/Template/0001/picture.html ||
  fail "the album's viewer page is not the installed template's"
dpkg -L lumicrate | grep -qx /usr/share/man/man1/lumicrate-cli.1.gz || fail "the package has no manual page of lumicrate-cli"

/usr/bin/lumicrate --help >/dev/null || fail "lumicrate --help failed"
# The window comes up on a real X server (Xvfb names its free display when ready); a second
# start meanwhile ends at once with 0 and leaves the first alone.
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
trap 'set +e; kill $xvfb; remove_added; rm -rf "$scratch"' EXIT
for _ in $(seq 50); do
  [[ -s $scratch/display ]] && break
  sleep 0.1
done
[[ -s $scratch/display ]] || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
export DISPLAY=:$(cat "$scratch/display")
/usr/bin/lumicrate >"$scratch/gui.log" 2>&1 &
gui=$!
for _ in $(seq 100); do
  xdotool search --name "^ルミクレート$" >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name "^ルミクレート$" >/dev/null 2>&1 || fail "lumicrate showed no window: $(cat "$scratch/gui.log")"
timeout 20 /usr/bin/lumicrate || fail "a second start of lumicrate did not end with 0"
kill -0 "$gui" 2>/dev/null || fail "the first lumicrate ended when the second started"
kill "$gui"
wait "$gui" 2>/dev/null || true
echo "lumicrate showed its window under Xvfb; a second start ended at once"

echo "Purging lumicrate"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq lumicrate >"$scratch/purge.log" 2>&1 ||
  fail "apt-get purge failed: $(cat "$scratch/purge.log")"
if dpkg -L lumicrate >/dev/null 2>&1; then
  fail "dpkg still knows lumicrate after the purge"
fi
if compgen -G "/usr/bin/lumicrate*" >/dev/null || [[ -e /usr/share/lumicrate ]]; then
  fail "left behind: $(ls -d /usr/bin/lumicrate* /usr/share/lumicrate 2>/dev/null)"
fi
remove_added
[[ $(installed_packages) == "$before" ]] || fail "the installed packages differ from those before the check"
echo "package-check: installed, ran and removed lumicrate; the installed packages are as they were"
