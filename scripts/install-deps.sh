#!/usr/bin/env bash
# Installs every Debian package that building, testing and the demo need. Safe to run again:
# when everything is already installed it changes nothing and asks no package server.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config
  qt6-base-dev libexiv2-dev libvips-dev libgphoto2-dev libudev-dev libcurl4-openssl-dev libglib2.0-dev
  shared-mime-info
  # the desktop program: Qt's own texts in Japanese, the SVG icon loader
  qt6-translations-l10n libqt6svg6
  # tests
  libgtest-dev libimage-exiftool-perl exiv2 python3 xvfb fonts-noto-cjk chromium chromium-driver
  e2fsprogs mount dbus
  # screenshots of the windows under a window manager
  openbox xdotool x11-apps
  clang libclang-rt-14-dev
  # installation, desktop integration and the Debian package
  librsvg2-bin desktop-file-utils appstream bash-completion dpkg-dev file
  # the power-cut test: an ext4 image, loop-mounted
  e2fsprogs mount
  # benchmarks and the peers they are measured against
  libvips-tools imagemagick gphoto2 hyperfine time bc
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=""
if [[ $(id -u) -ne 0 ]]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
