#!/usr/bin/env bash
# Installs what is missing, builds, writes a demo movie and starts the player on it.
# On $DISPLAY when one is set (close the window to end); otherwise on a private X display,
# where a screenshot is saved to out/demo/screenshot.png and the player closes by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LK_BUILD_DIR:-$root/build}
out="$root/out/demo"

bash "$root/scripts/install-deps.sh"
# Only the player and the two tools the demo runs: the tests and benchmarks are the test
# command's to build.
LK_BUILD_TARGET="Lumikino make_movie demo_driver" bash "$root/scripts/build.sh"
mkdir -p "$out"

source "$root/scripts/lib/wine-env.sh"
run_dir="$out/wine"   # kept between demo runs: the first one pays for the prefix set-up
trap lk_wine_stop EXIT
trap 'exit 130' INT TERM
if [ -n "${DISPLAY:-}" ]; then lk_wine_start "$run_dir" --display; else lk_wine_start "$run_dir"; fi

wine=/usr/lib/wine/wine64
movie="$out/Lumikino-demo.avi"
# seconds, width, height, frames per second: the driver reads the frame numbers back with them.
shape="20 640 360 30"
"$wine" "$build/bin/make_movie.exe" "Z:$(echo "$movie" | tr / '\\')" $shape 440
echo "demo movie: $movie"

if [ -n "$LK_XVFB_PID" ]; then
  ready="$out/ready.flag"; done_flag="$out/done.flag"
  rm -f "$ready" "$done_flag" "$out/screenshot.png"
  # The driver says "ready" once a frame number of the movie reads in the video window, and
  # gives up after 60 s.
  "$wine" "$build/bin/demo_driver.exe" "Z:$(echo "$movie" | tr / '\\')" \
    "Z:$(echo "$ready" | tr / '\\')" "Z:$(echo "$done_flag" | tr / '\\')" $shape &
  driver=$!
  deadline=$((SECONDS + 120))
  while [ ! -f "$ready" ]; do
    if ! kill -0 "$driver" 2>/dev/null; then
      wait "$driver" || true
      echo "the movie's picture did not show in the player (see the driver's message); no screenshot" >&2
      exit 1
    fi
    if [ $SECONDS -ge $deadline ]; then
      echo "the demo driver did not answer within 120 s; no screenshot" >&2
      exit 1
    fi
    sleep 0.2
  done
  window_id=$(xwininfo -name Lumikino 2>/dev/null | awk '/Window id:/ {print $4}')
  import -window "${window_id:-root}" "$out/screenshot.png"
  touch "$done_flag"
  wait "$driver"
  echo "screenshot: $out/screenshot.png"
  echo "data folder of the demo: $HOME/Lumikino"
else
  echo "starting Lumikino on $DISPLAY; close its window to end the demo"
  "$wine" "$build/bin/Lumikino.exe" "Z:$(echo "$movie" | tr / '\\')"
fi
