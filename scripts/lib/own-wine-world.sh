#!/usr/bin/env bash
# Runs one Windows test program in a Wine world of its own: a prefix, home and X display made
# for it and removed afterwards, with everything the program started.
#   own-wine-world.sh PROGRAM.exe [ARGS...]
# End-to-end tests drive the screen, the mouse and the keyboard and start players that find
# each other's windows, so two of them run side by side only when each has its own display
# and Wine server. LK_WORLD_TEMPLATE (set by the test script) names a run folder whose prefix
# and locale are copied instead of made again.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine-env.sh"
lk_wine_run lumikino-world || { echo "the Wine world for $1 could not be made" >&2; exit 1; }
/usr/lib/wine/wine64 "$@"
