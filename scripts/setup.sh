#!/usr/bin/env bash
# Installs the Debian packages that building and running the game need;
# with "tests", also those of the tests, the fuzz target and the benchmarks.
# Quiet and idempotent: asks apt only when something is missing.
#   scripts/setup.sh [game|tests]      (default: game)
set -euo pipefail

game=(
  cmake ninja-build g++ pkg-config
  # Windows, menus and pictures; sound effects (Qt Multimedia plays through
  # libpulse, which it brings); the X11 platform plug-in.
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins
  # The media tool writes its PNG files with zlib; the framework reads the
  # font configuration early with fontconfig.
  zlib1g-dev libfontconfig-dev
  fonts-noto-cjk
)

tests=(
  libgtest-dev libbenchmark-dev
  # The end-to-end tests and the start-up benchmark talk to their X server
  # through libxcb; bench/ratio.sh reads the benchmark's report with Python.
  libxcb1-dev python3
  xvfb xauth xdotool x11-utils
  # The installed desktop entry is checked with desktop-file-validate.
  desktop-file-utils
  # The logout test's session manager speaks XSMP through libSM and libICE.
  libsm-dev libice-dev
  # The sound tests run a private server with a null sink and record it.
  pulseaudio pulseaudio-utils
  # The fuzz and sanitizer tests: clang with libFuzzer and the sanitizers.
  clang libclang-rt-dev
)

case "${1:-game}" in
  game) packages=("${game[@]}") ;;
  tests) packages=("${game[@]}" "${tests[@]}") ;;
  *) echo "usage: $0 [game|tests]" >&2; exit 2 ;;
esac

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
