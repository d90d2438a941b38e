#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine, in a private
# Wine prefix, home and X display made for this run and removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LK_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/lumikino-test.XXXXXX")
source "$root/scripts/lib/wine-env.sh"
cleanup() {
  lk_wine_stop
  rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
lk_wine_start "$run_dir"

cd "$build"
# Test programs are Windows programs: ctest runs each under Wine through the emulator.
ctest --output-on-failure --timeout 900 "$@"
