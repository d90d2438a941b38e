#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine, in a private
# Wine prefix, home and X display made for this run and removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LK_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

source "$root/scripts/lib/wine-env.sh"
lk_wine_run lumikino-test
run_dir=$LK_RUN_DIR
# The end-to-end tests run in parts side by side, each in a Wine world of its own that starts
# as a copy of this one, taken now while no Wine program runs in it.
mkdir -p "$run_dir/template"
cp -a "$WINEPREFIX" "$run_dir/template/prefix"
cp -a "$run_dir/locale" "$run_dir/template/locale"
export LK_WORLD_TEMPLATE="$run_dir/template"

# Compressed sample movies for the graph tests, made fresh for the run.
media="$run_dir/media"
mkdir -p "$media"
ff() { ffmpeg -nostdin -v error -y "$@"; }
ff -f lavfi -i testsrc=size=320x240:rate=30:duration=3 -f lavfi -i sine=frequency=440:duration=3 \
  -c:v libx264 -pix_fmt yuv420p -c:a aac -ac 2 -shortest "$media/h264_aac.mp4"
ff -f lavfi -i testsrc=size=320x240:rate=25:duration=3 -f lavfi -i sine=frequency=440:duration=3 \
  -c:v mpeg4 -c:a pcm_s16le -ac 2 -shortest "$media/mpeg4_pcm.avi"
ff -f lavfi -i sine=frequency=440:duration=2 -ac 2 -ar 44100 -c:a libmp3lame "$media/tone.mp3"
# Red for 10 s, then green, then blue: the strip's cells of an MP4 are read by their colour.
ff -f lavfi -i "color=c=red:s=320x180:r=10:d=10[r];color=c=lime:s=320x180:r=10:d=10[g];color=c=blue:s=320x180:r=10:d=10[b];[r][g][b]concat=n=3:v=1:a=0[out0]" \
  -f lavfi -i sine=frequency=440:duration=30 -c:v libx264 -pix_fmt yuv420p -g 50 -c:a aac -ac 2 -shortest "$media/colours.mp4"
ff -f lavfi -i sine=frequency=440:duration=2 -ac 1 -ar 22050 -c:a pcm_u8 "$media/mono8.wav"
ff -f lavfi -i sine=frequency=440:duration=2 -ac 2 -ar 44100 -c:a pcm_s16le "$media/tone.wav"
# A folder holding a symbolic link to its parent: a folder walk must still end. Its movies
# play, should a test's list reach them.
mkdir -p "$media/linked/sub"
cp "$media/mpeg4_pcm.avi" "$media/linked/top.avi"
cp "$media/mpeg4_pcm.avi" "$media/linked/sub/inner.avi"
ln -s .. "$media/linked/sub/up"
export LK_TEST_MEDIA="Z:$(echo "$media" | tr / '\\')"

# Every Direct3D device creation, reset, loss test and final release made off the device's
# owner thread (the user-interface thread) is written here by the program; there must be none.
device_report="$run_dir/device-thread-report.txt"
export LK_DEVICE_THREAD_CHECK="Z:$(echo "$device_report" | tr / '\\')"

cd "$build"
# Test programs are Windows programs: ctest runs each under Wine through the emulator.
# Tests in the run's own world take turns. LK_TEST_JOBS=3 runs the end-to-end parts, each in
# its world, beside them and each other: about three minutes sooner, but some end-to-end checks
# of playback timing and of the play list's rows do not hold yet on a machine that busy.
ctest --output-on-failure --timeout 900 -j "${LK_TEST_JOBS:-1}" "$@"
if [ -s "$device_report" ]; then
  echo "Direct3D device calls were made off the device's owner thread:" >&2
  cat "$device_report" >&2
  exit 1
fi
