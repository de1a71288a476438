#!/usr/bin/env bash
# Installs every Debian package Kestrava needs to build, run and test.
# Idempotent: packages already present are left alone. Works as root and through sudo.
set -euo pipefail

packages=(
  # toolchain and tests
  cmake g++ pkg-config make libgtest-dev libgmock-dev
  # encoder programs: FFmpeg's libraries, and the ffmpeg CLI for test fixtures and benchmarks
  libavformat-dev libavcodec-dev libavfilter-dev libavutil-dev libswscale-dev libswresample-dev ffmpeg
  # the preview player
  libmpv-dev
  # the window: Qt 6 Widgets, the SVG renderer of the artwork, Arial-metric fonts; Xvfb and the
  # X headers for the screenshot test and for starting the window where there is no display
  qt6-base-dev qt6-svg-dev fonts-liberation2 xvfb libxcb1-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
else
  as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
