#!/usr/bin/env bash
# Installs every Debian package that the build, the game and the tests need.
# Quiet and idempotent: asks apt only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins
  # The media tool writes its PNG files with zlib; the framework reads the
  # font configuration early with fontconfig.
  zlib1g-dev libfontconfig-dev
  libgtest-dev libbenchmark-dev
  fonts-noto-cjk
  # The end-to-end tests and the start-up benchmark talk to their X server
  # through libxcb; bench/ratio.sh reads the benchmark's report with Python.
  libxcb1-dev python3
  xvfb xauth xdotool x11-utils
  # The installed desktop entry is checked with desktop-file-validate.
  desktop-file-utils
  # The sound tests run a private server with a null sink and record it.
  # The game itself needs only libpulse0, which Qt Multimedia brings.
  pulseaudio pulseaudio-utils
  # The fuzz test of the property-record reader: clang with libFuzzer.
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
