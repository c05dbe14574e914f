#!/usr/bin/env bash
# Sets everything up, builds the game and its assets, and starts it from the
# folder that holds them, passing on any options (scripts/play.sh --window).
# Needs an X display.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
  echo "glimmerfall needs an X display: DISPLAY is not set. Run this from a graphical session." >&2
  exit 1
fi

scripts/setup.sh
echo "== starting build/game/glimmerfall"
cd build/game
exec ./glimmerfall "$@"
