#!/usr/bin/env bash
# Start-up, peak memory and idle cost of the game against a bare Qt window of
# the same size that draws one Japanese string, both under an X server of
# this script's own, with a private HOME and no sound server.
#
#   bench/startup.sh [build-dir] [runs]      (defaults: build-test, 21)
#
# Goals: start to first scene at most 1.25 times the bare window's (median),
# peak memory at most 1.3 times; idle for 10 s with the window open: under
# 0.1 % CPU and no wake-ups.
set -euo pipefail
build=$(cd "${1:-build-test}" && pwd)
runs=${2:-21}
game=$build/horomine/MacOS/horomine
driver=$build/bench/startup/startup_driver
bare=$build/bench/startup/bare_window
for f in "$game" "$driver" "$bare"; do
  [ -x "$f" ] || { echo "startup.sh: $f is missing; build first" >&2; exit 2; }
done

tmp=$(mktemp -d)
xvfb=
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
mkdir -p "$tmp/home/.config" "$tmp/home/.cache" "$tmp/run"
chmod 700 "$tmp/run"

# Xvfb chooses a free display and tells it through the pipe when ready.
mkfifo "$tmp/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
read -r number <"$tmp/display"

export DISPLAY=":$number" QT_QPA_PLATFORM=xcb HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config"
export XDG_CACHE_HOME="$tmp/home/.cache" XDG_RUNTIME_DIR="$tmp/run" PULSE_SERVER="unix:$tmp/no-sound-server"
# No session bus: without this the toolkit tries to launch one on every start,
# a fork whose cost varies more than anything measured here.
export DBUS_SESSION_BUS_ADDRESS=disabled:
unset WAYLAND_DISPLAY
"$driver" "$runs" "game=$game" "bare=$bare" | tee "$tmp/report"

awk -v runs="$runs" '
  $1 == "game" { gcpu = $(NF-1); gwake = $NF }
  /^ratio/ { gsub(",", ""); start = $4; peak = $7 }
  END {
    ok = (start <= 1.25) && (peak <= 1.3) && (gcpu < 0.1) && (gwake == 0)
    printf "goals: start %.2f <= 1.25 %s, peak memory %.2f <= 1.3 %s, idle CPU %.2f %% < 0.1 %s, wake-ups %d = 0 %s\n",
      start, (start <= 1.25 ? "met" : "MISSED"), peak, (peak <= 1.3 ? "met" : "MISSED"),
      gcpu, (gcpu < 0.1 ? "met" : "MISSED"), gwake, (gwake == 0 ? "met" : "MISSED")
    exit ok ? 0 : 1
  }' "$tmp/report"
