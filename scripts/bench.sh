#!/usr/bin/env bash
# Builds and runs every benchmark under Wine; each prints ratios against a baseline measured in
# the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LK_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/lib/wine-env.sh"
lk_wine_run lumikino-bench
run_dir=$LK_RUN_DIR
for bench in "$build"/bin/bench_*.exe; do
  name=$(basename "$bench" .exe)
  [ "$name" = bench_minimal_window ] && continue
  [ "$name" = bench_bare_render_file ] && continue  # the first-frame benchmark's baseline
  case "$name" in bench_strip_*) continue ;; esac      # need movies: run by bench/thumbs/run.sh
  [ "$name" = bench_zip_extract ] && continue          # with unzip for orientation, below
  echo "== $name"
  timeout 600 /usr/lib/wine/wine64 "$bench"
done
# The strip's benchmarks: their movies are made with ffmpeg first, and the strip fill's
# baseline is ffmpeg itself, timed in this run.
if [ -x "$build/bin/bench_strip_fill.exe" ]; then
  bash "$root/bench/thumbs/run.sh" "$build" "$run_dir"
fi
# Unpacking an archive entry; unzip on the same archive for orientation (no aim).
if [ -x "$build/bin/bench_zip_extract.exe" ]; then
  echo "== bench_zip_extract"
  zip_dir="$run_dir/zip-bench"
  mkdir -p "$zip_dir"
  timeout 600 /usr/lib/wine/wine64 "$build/bin/bench_zip_extract.exe" "Z:$(echo "$zip_dir" | tr / '\\')"
  if command -v unzip >/dev/null && [ -s "$zip_dir/movie.zip" ]; then
    unzip -o -q "$zip_dir/movie.zip" -d "$zip_dir/out"  # into the file cache first, as the benchmark does
    start=$(date +%s%N)
    unzip -o -q "$zip_dir/movie.zip" -d "$zip_dir/out"
    echo "unzip (Linux, for orientation): $(( ($(date +%s%N) - start) / 1000000 )) ms"
  fi
fi
