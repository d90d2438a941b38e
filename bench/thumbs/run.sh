#!/usr/bin/env bash
# The thumbnail strip's benchmarks. Makes their movies with ffmpeg (kept between runs in the
# build folder, as they take minutes to encode), times the strip-fill baseline (ffmpeg once
# per cell, one after another) and runs bench_strip_fill and bench_strip_drops under Wine.
#   run.sh [BUILD_DIR [RUN_DIR]]
# With RUN_DIR the caller has started the private Wine world already (scripts/bench.sh does);
# without it this script starts and ends its own. LK_BENCH_MOVIES names another folder for
# the movies.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${LK_BUILD_DIR:-$root/build}}
movies=${LK_BENCH_MOVIES:-$build/bench-movies}

if [ $# -ge 2 ]; then
  run_dir=$2
else
  source "$root/scripts/lib/wine-env.sh"
  lk_wine_run lumikino-bench
  run_dir=$LK_RUN_DIR
fi
command -v ffmpeg >/dev/null || { echo "run.sh: ffmpeg is needed to make the movies" >&2; exit 1; }

# The strip fill: 10 minutes, 1280x720, H.264 with a key frame every 2 s exactly; one cell
# every 10 s makes 60 cells.
strip_seconds=600
cell_seconds=10
cells=$((strip_seconds / cell_seconds))
# The drops: 60 s of the same picture with sound, so the audio renderer is the clock.
play_seconds=60
drops_play_seconds=${LK_STRIP_DROPS_SECONDS:-20}
drops_rounds=${LK_STRIP_DROPS_ROUNDS:-3}
drops_cell_seconds=${LK_STRIP_DROPS_CELL_SECONDS:-1}

mkdir -p "$movies"
strip_movie="$movies/strip-${strip_seconds}s-1280x720-h264-g60.mp4"
play_movie="$movies/play-${play_seconds}s-1280x720-h264-g60-aac.mp4"

# Written under a temporary name first: an interrupted encode leaves no movie that looks done.
make_movie() {
  local target=$1; shift
  [ -s "$target" ] && return 0
  echo "making $(basename "$target") with ffmpeg (takes a while, once)"
  ffmpeg -nostdin -hide_banner -loglevel error -y "$@" -f mp4 "$target.part"
  mv "$target.part" "$target"
}
video=(-c:v libx264 -preset veryfast -pix_fmt yuv420p -g 60 -keyint_min 60 -sc_threshold 0)
make_movie "$strip_movie" -f lavfi -i "testsrc2=size=1280x720:rate=30" -t "$strip_seconds" "${video[@]}" \
  -movflags +faststart
make_movie "$play_movie" -f lavfi -i "testsrc2=size=1280x720:rate=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000" -t "$play_seconds" "${video[@]}" \
  -c:a aac -b:a 128k -movflags +faststart

windows_path() { echo "Z:$(echo "$1" | tr / '\\')"; }

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# One picture per cell, one ffmpeg after another: what a script would do for a strip.
ffmpeg_strip() {
  local out=$1 i
  rm -rf "$out"
  mkdir -p "$out"
  for ((i = 0; i < cells; i++)); do
    ffmpeg -nostdin -hide_banner -loglevel error -y -ss $((i * cell_seconds)) -i "$strip_movie" \
      -frames:v 1 -s 320x180 "$out/cell$i.png"
  done
  local made
  made=$(find "$out" -name 'cell*.png' -size +0 | wc -l)
  [ "$made" -eq "$cells" ] || { echo "run.sh: ffmpeg made $made of $cells pictures" >&2; return 1; }
}

echo "== bench_strip_fill"
# A first pass that is not counted, as the benchmark's own first round: the movie comes into
# the file cache.
ffmpeg_strip "$run_dir/ffmpeg-cells"
baseline=()
for round in 1 2 3; do
  start=$(now_ms)
  ffmpeg_strip "$run_dir/ffmpeg-cells"
  elapsed=$(( $(now_ms) - start ))
  echo "baseline round $round: ffmpeg once per cell, $cells cells: $elapsed ms"
  baseline+=("$elapsed")
done
baseline_ms=$(printf '%s\n' "${baseline[@]}" | sort -n | sed -n 2p)
rm -rf "$run_dir/ffmpeg-cells"
timeout 900 /usr/lib/wine/wine64 "$build/bin/bench_strip_fill.exe" "$(windows_path "$strip_movie")" "$baseline_ms"

echo "== bench_strip_drops"
timeout 900 /usr/lib/wine/wine64 "$build/bin/bench_strip_drops.exe" "$(windows_path "$play_movie")" \
  "$drops_play_seconds" "$drops_rounds" "$drops_cell_seconds"
