#!/usr/bin/env bash
# The whole game in one run on "Level1": F1 shows the help page until ESC is released; SPACE fires orbs
# (keeping play_with_orbs_and_monsters.png, the README's picture); left alone, the monsters fell the dome
# and the game-over page comes; ESC returns to the map menu, from which "Test Map" is played.
source "$(dirname "$0")/lib.sh"
e2e_start game_play "${1:?build folder}"
TEXT_TOOL=${2:?text reference tool (game_text_reference)}

# usage: game_shot_shows SHOT_NAME Y TEXT  true when rows Y..Y+7 of a new shot
# are TEXT drawn white on black from x 0, pixel for pixel.
game_shot_shows() {
  "$TEXT_TOOL" "$3" "$E2E_WORK/line.bmp" || e2e_fail "cannot render \"$3\""
  [ "$("$E2E_CONVERT" "$(e2e_screenshot "$1")" -crop "640x8+0+$2" +repage -alpha off \
    \( "$E2E_WORK/line.bmp" -alpha off -background black -extent 640x8 \) -compose difference -composite \
    -separate -evaluate-sequence max -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:)" = 0 ]
}
play_area_has() { e2e_box_has_color "$1" 0 0 640 "$LEVEL_PANEL_TOP" "$2"; }

e2e_start_game
shell_wait_for_menu main_menu
orb=$(level_asset_colour orb.bmp 4 8)
monster=$(level_asset_colour alien.bmp 60 70)
level_enter_map level1
play_area_has "$(e2e_screenshot level1_start)" "$orb" && e2e_fail "the orb's colour is on the map before a shot"

# F1 before the monsters come.
e2e_key F1
e2e_retry 10 0.2 game_shot_shows help_page 0 "------------------Help Menu-----------------" ||
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
e2e_retry 360 0.5 game_shot_shows game_over 0 "------------------Game Over-----------------" ||
  e2e_fail "no game-over page within 180 s"
e2e_key Escape
e2e_wait_for_color "$SHELL_TEXT_X" 230 8 16 "$SHELL_RED" 5 map_menu_again || e2e_fail "no map menu after game over"
e2e_box_has_color "$E2E_ARTIFACTS/map_menu_again.png" "$SHELL_TEXT_X" 240 8 8 "$SHELL_RED" && e2e_key Up
shell_expect_map_highlight map_menu_on_test 230
e2e_key Return
level_wait_for_play test_map_playing
e2e_key Escape
shell_expect_main_highlight back_in_main_menu 230
e2e_key Escape
shell_expect_exit_zero 5
level_expect_no_messages "the whole game"
e2e_pass
