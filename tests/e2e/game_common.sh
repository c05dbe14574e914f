#!/usr/bin/env bash
# Checks shared by the whole-game end-to-end tests: the text pages compared
# row by row with lines rendered in the library's font, and the colours of
# orbs and monsters found on the screen.
# Needs GAME_TEXT_REFERENCE: the tool that renders a reference line.

# shellcheck source=tests/e2e/level_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/level_common.sh"

GAME_LINE_HEIGHT=8

# Pixels of row band Y..Y+7 of the shot that differ from TEXT drawn white on
# black from x 0, the rest of the band black.
game_line_difference() {
  local shot=$1 y=$2 text=$3 reference
  reference=$E2E_WORK/line-$RANDOM.bmp
  "${GAME_TEXT_REFERENCE:?}" "$text" "$reference" || e2e_fail "cannot render \"$text\""
  "$E2E_CONVERT" "$shot" -crop "640x${GAME_LINE_HEIGHT}+0+$y" +repage -alpha off \
    \( "$reference" -alpha off -background black -extent "640x${GAME_LINE_HEIGHT}" \) \
    -compose difference -composite -separate -evaluate-sequence max -threshold 0 \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Fails unless the shot shows TEXT at row Y, pixel for pixel.
game_expect_line() {
  local shot=$1 y=$2 text=$3 differing
  differing=$(game_line_difference "$shot" "$y" "$text")
  [ "$differing" = 0 ] || e2e_fail "$(basename "$shot"): row $y differs from \"$text\" in $differing pixels"
}

# True when the box holds nothing but black.
game_box_is_black() {
  local brightest
  brightest=$("$E2E_CONVERT" "$1" -crop "${4}x${5}+${2}+${3}" +repage -alpha off -separate \
    -evaluate-sequence max -format '%[fx:maxima]' info:)
  [ "$brightest" = 0 ]
}

# Polls screenshots until row Y shows TEXT; true when it did within SECONDS.
game_wait_for_line() {
  local y=$1 text=$2 seconds=$3 shot=$4 waited=0 file
  while [ "$waited" -lt $((seconds * 2)) ]; do
    file=$(e2e_screenshot "$shot")
    if [ "$(game_line_difference "$file" "$y" "$text")" = 0 ]; then
      return 0
    fi
    e2e_game_running || e2e_fail "the game ended while waiting for \"$text\""
    sleep 0.5
    waited=$((waited + 1))
  done
  return 1
}

# The orb's rim and the monster's hide: colours of their strips that the
# generated maps do not use (the orb's is checked on the first shot of play,
# before any orb can fly).
GAME_ORB_COLOUR=""
GAME_MONSTER_COLOUR=""
game_learn_colours() {
  GAME_ORB_COLOUR=$(level_asset_colour orb.bmp 4 8)
  GAME_MONSTER_COLOUR=$(level_asset_colour alien.bmp 60 70)
  e2e_log "orb colour $GAME_ORB_COLOUR, monster colour $GAME_MONSTER_COLOUR"
}

game_play_area_has() { e2e_box_has_color "$1" 0 0 640 "$LEVEL_PANEL_TOP" "$2"; }
