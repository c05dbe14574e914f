#!/usr/bin/env bash
# Checks of a level in play shared by the level's end-to-end tests: the panel
# and its read-outs, pictures of the game's assets found on the screen, and
# the way into a map from the main menu.

# shellcheck source=tests/e2e/shell_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/shell_common.sh"

LEVEL_BOX_FILL=C80000
LEVEL_BOX_EDGE=8B0000
LEVEL_TEXT=FF4500
LEVEL_MAGENTA=FF00FF
LEVEL_WHITE=FFFFFF
LEVEL_GREEN=00FF00
# The panel picture covers the frame from this row down.
LEVEL_PANEL_TOP=380

# The colour of one pixel of an asset picture, as RRGGBB.
level_asset_colour() {
  local rgb
  rgb=$(e2e_pixel "$E2E_GAME_DIR/${1:?asset}" "${2:?x}" "${3:?y}")
  # shellcheck disable=SC2086
  printf '%02X%02X%02X' ${rgb//,/ }
}

# True when the 3 x 3 pixels around (x, y) of the shot hold the colour of the
# asset's pixel (ax, ay).
level_shows_asset_pixel() {
  local shot=$1 asset=$2 ax=$3 ay=$4 x=$5 y=$6
  e2e_box_has_color "$shot" $((x - 1)) $((y - 1)) 3 3 "$(level_asset_colour "$asset" "$ax" "$ay")"
}

# The four read-out boxes: red fill, dark red top and left edges, and the
# frame rate written in orange-red; the face picture in its place.
level_expect_panel() {
  local shot=$1 box
  for box in "118 450 188 470" "280 425 360 438" "280 455 360 468" "450 450 510 470"; do
    # shellcheck disable=SC2086
    set -- $box
    e2e_box_has_color "$shot" $(($1 + 1)) $(($2 + 1)) $(($3 - $1)) $(($4 - $2)) "$LEVEL_BOX_FILL" ||
      e2e_fail "$(basename "$shot"): no read-out box at $1,$2"
    e2e_box_has_color "$shot" "$1" $(($2 + 1)) 1 $(($4 - $2)) "$LEVEL_BOX_EDGE" ||
      e2e_fail "$(basename "$shot"): no dark left edge on the box at $1,$2"
    e2e_box_has_color "$shot" "$1" "$2" 1 1 "$LEVEL_BOX_FILL" &&
      e2e_fail "$(basename "$shot"): the box at $1,$2 lacks its dark corner"
  done
  e2e_box_has_color "$shot" 118 450 71 21 "$LEVEL_TEXT" || e2e_fail "$(basename "$shot"): no frame rate shown"
  e2e_box_has_color "$shot" 280 455 81 14 "$LEVEL_TEXT" || e2e_fail "$(basename "$shot"): no score shown"
  level_shows_asset_pixel "$shot" face.bmp 40 40 53 430 || e2e_fail "$(basename "$shot"): no face at 13,390"
  level_shows_asset_pixel "$shot" gui.bmp 600 470 600 470 || e2e_fail "$(basename "$shot"): no panel picture"
  e2e_box_has_color "$shot" 0 0 640 480 "$LEVEL_MAGENTA" && e2e_fail "$(basename "$shot"): magenta on the screen"
  return 0
}

# A dome whose top-left corner is at (x, y) on the screen: its health bar
# 20 to 10 rows above it, outlined in white and green inside, and its glass
# (the dome strip's pixel 45,64) in place, where those lie in the play area.
level_expect_dome() {
  local shot=$1 x=$2 y=$3 width=${4:-129}
  e2e_box_has_color "$shot" "$x" $((y - 20)) "$width" 1 "$LEVEL_WHITE" ||
    e2e_fail "$(basename "$shot"): no white outline of the dome's bar at $x,$((y - 20))"
  e2e_box_has_color "$shot" $((x + 1)) $((y - 19)) $((width - 1)) 9 "$LEVEL_GREEN" ||
    e2e_fail "$(basename "$shot"): no green in the dome's bar"
  if [ $((x + 45)) -lt 640 ] && [ $((y + 64)) -lt "$LEVEL_PANEL_TOP" ]; then
    level_shows_asset_pixel "$shot" dome.bmp 45 64 $((x + 45)) $((y + 64)) ||
      e2e_fail "$(basename "$shot"): no dome glass at $((x + 45)),$((y + 64))"
  fi
  return 0
}

# The cart, facing down as it starts, with its top-left corner at (x, y).
level_cart_at() {
  e2e_box_has_color "$1" "$2" "$3" 32 32 "$(level_asset_colour Cart.bmp 10 10)" &&
    e2e_box_has_color "$1" "$2" "$3" 32 32 "$(level_asset_colour Cart.bmp 10 12)"
}

# Pixels that differ between two shots in the play area above the panel.
level_play_area_difference() {
  "$E2E_CONVERT" "$1" "$2" -crop "640x${LEVEL_PANEL_TOP}+0+0" +repage -compose difference -composite \
    -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:
}

# From the main menu (entry 0 highlighted): into the map menu and the map.
# usage: level_enter_map level1|test
level_enter_map() {
  e2e_key Return
  shell_expect_map_highlight "map_menu_$1" 230
  if [ "$1" = level1 ]; then
    e2e_key Down
    shell_expect_map_highlight "map_menu_on_level1" 240
  fi
  e2e_key Return
  e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 10 "entering_$1" ||
    e2e_fail "no level panel after choosing $1"
}

level_expect_no_messages() {
  [ "$(e2e_message_count)" = 0 ] || e2e_fail "${1:-}: the game showed messages: $(e2e_messages | tr '\n' ' ')"
}
