#!/usr/bin/env bash
# The whole game in one run, from a copy of the game folder. "Test Map" and "Level1" each show map, dome,
# cart and panel, LEFT CONTROL held changes the play area, ESC returns to the main menu, no message (the
# music was found). On "Level1" again: F1 shows the help page until ESC is released; SPACE fires orbs
# (keeping play_with_orbs_and_monsters.png, the README's picture); left alone, the monsters fell the dome
# and the game-over page comes; ESC returns to the map menu, from which "Test Map" is played. Then
# level1.fmp is deleted and chosen again: its message, then status 0.
source "$(dirname "$0")/lib.sh"
e2e_start game_play "${1:?build folder}"
E2E_TEXT_TOOL=${2:?text reference tool (game_text_reference)}
e2e_copy_game

# usage: driven START MAP CART_X CART_Y  true when a new shot (in driving) shows the view scrolled from START's
# or the cart gone from its start. The unpaced loop runs the cart round its track many times a second, so a
# single shot may catch it back near its start with the view still clamped.
driven() {
  driving=$(e2e_screenshot "$2_driving")
  [ "$("$E2E_CONVERT" "$1" "$driving" -crop "640x${LEVEL_PANEL_TOP}+0+0" +repage -compose difference -composite \
    -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:)" -ge 20000 ] ||
    ! level_shows "$driving" Cart.bmp 10 10 $(($3 + 10)) $(($4 + 10))
}
# usage: play MAP CART_X CART_Y DOME_X DOME_Y BACK_ON  (screen
# positions: the camera keeps the cart's centre at (310, 230) inside the map)
play() {
  local map=$1 start driving colours moved=
  level_enter_map "$map"
  sleep 0.3 # shots first: the monsters bring the dome down within seconds
  start=$(e2e_screenshot "${map}_start")
  e2e_key_down Control_L
  sleep 1
  e2e_retry 5 0.2 driven "$start" "$map" "$2" "$3" && moved=yes
  e2e_key_up Control_L
  e2e_key_hold Escape 0.5 # the map menu sees ESC still down and leaves too
  shell_expect_main_highlight "back_from_$map" "$6"
  level_expect_no_messages "after $map"
  level_expect_panel "$start"
  level_expect_panel "$driving"
  if [ $(($4 + 45)) -lt 640 ]; then
    level_shows "$start" dome.bmp 45 64 $(($4 + 45)) $(($5 + 64)) || e2e_fail "$map: no dome at $4,$5"
  fi
  level_shows "$start" Cart.bmp 10 10 $(($2 + 10)) $(($3 + 10)) || e2e_fail "$map: no cart at $2,$3"
  colours=$("$E2E_CONVERT" "$start" -crop "640x${LEVEL_PANEL_TOP}+0+0" +repage -unique-colors -format '%w' info:)
  [ "$colours" -ge 50 ] || e2e_fail "$map: the play area has only $colours colours: no map drawn"
  [ -n "$moved" ] || e2e_fail "$map: neither the view nor the cart moved while driving"
}
# usage: page_shows SHOT_NAME TITLE  true when a new shot's top row is the page's title, white on black
page_shows() { level_text_at "$(e2e_screenshot "$1")" 0 0 "$2" FFFFFF; }
play_area_has() { e2e_box_has_color "$1" 0 0 640 "$LEVEL_PANEL_TOP" "$2"; }

e2e_start_game
shell_wait_for_menu main_menu
# Test Map: camera (26, 138), so the dome at (640, 480) shows 26 columns.
play test 294 214 614 342 230
play level1 160 128 288 160 240

e2e_key Up
shell_expect_main_highlight main_menu_again 230
orb=$(level_asset_colour orb.bmp 4 8)
monster=$(level_asset_colour alien.bmp 60 70)
level_enter_map level1
play_area_has "$(e2e_screenshot level1_start)" "$orb" && e2e_fail "the orb's colour is on the map before a shot"

# F1 before the monsters come.
e2e_key F1
e2e_retry 10 0.2 page_shows help_page "------------------Help Menu-----------------" ||
  e2e_fail "no help page after F1"
e2e_key Escape
level_wait_for_play back_from_help

# The dome is right of the cart: aim right and fire until a shot has orbs and monsters.
orbs_and_monsters() {
  local shot
  shot=$(e2e_screenshot firing)
  play_area_has "$shot" "$orb" && play_area_has "$shot" "$monster" && cp "$shot" "$E2E_ARTIFACTS/$1.png"
}
e2e_key_down Right
e2e_key_down space
e2e_retry 80 0.1 orbs_and_monsters play_with_orbs_and_monsters || e2e_fail "no orbs with monsters while SPACE was held"
e2e_key_up space
e2e_key_up Right
level_expect_panel "$E2E_ARTIFACTS/play_with_orbs_and_monsters.png"

# Left alone, the monsters fell the dome within a few minutes; after the page
# the map menu (no glyph rain, so not the main menu) is back.
e2e_retry 360 0.5 page_shows game_over "------------------Game Over-----------------" ||
  e2e_fail "no game-over page within 180 s"
e2e_key Escape
e2e_wait_for_color "$SHELL_TEXT_X" 230 8 16 "$SHELL_RED" 5 map_menu_again || e2e_fail "no map menu after game over"
e2e_box_has_color "$E2E_ARTIFACTS/map_menu_again.png" "$SHELL_TEXT_X" 240 8 8 "$SHELL_RED" && e2e_key Up
shell_expect_map_highlight map_menu_on_test 230
e2e_key Return
level_wait_for_play test_map_playing
e2e_key Escape
shell_expect_main_highlight back_in_main_menu 230
level_expect_no_messages "the whole game"

rm "$E2E_GAME_DIR/level1.fmp"
level_enter_map level1 missing
e2e_expect_exit 0 10 "a missing map chosen"
level_expect_one_message "Cannot find MAP file:  level1.fmp"
e2e_pass
