#!/usr/bin/env bash
# The whole game in one run. "Level1": F1 shows the help page until ESC is
# pressed and released; SPACE fires orbs along the turret; left alone, the
# monsters fell the dome and the game-over page comes; ESC returns to the map
# menu, from which "Test Map" is played. Keeps a shot of play with orbs and
# monsters (play_with_orbs_and_monsters.png), the README's picture.
# usage: game_play.sh BUILD_DIR TEXT_REFERENCE_TOOL
source "$(dirname "$0")/level_common.sh"
e2e_init game_play "${1:?build folder}"
TEXT_TOOL=${2:?text reference tool}
HELP_TOP="------------------Help Menu-----------------"
OVER_TOP="------------------Game Over-----------------"

# Pixels of rows Y..Y+7 of SHOT that differ from TEXT drawn white on black from x 0.
game_line_difference() {
  local reference=$E2E_WORK/line.bmp
  "$TEXT_TOOL" "$3" "$reference" || e2e_fail "cannot render \"$3\""
  "$E2E_CONVERT" "$1" -crop "640x8+0+$2" +repage -alpha off \
    \( "$reference" -alpha off -background black -extent 640x8 \) \
    -compose difference -composite -separate -evaluate-sequence max -threshold 0 \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
game_shows_line() { [ "$(game_line_difference "$@")" = 0 ]; }
game_expect_line() { game_shows_line "$@" || e2e_fail "$(basename "$1"): row $2 is not \"$3\""; }
game_shot_shows_line() { game_shows_line "$(e2e_screenshot "$1")" "$2" "$3"; }
play_area_has() { e2e_box_has_color "$1" 0 0 640 "$LEVEL_PANEL_TOP" "$2"; }

e2e_start_xvfb
e2e_start_game
shell_wait_for_menu main_menu
orb=$(level_asset_colour orb.bmp 4 8)
monster=$(level_asset_colour alien.bmp 60 70)
level_enter_map level1
play_area_has "$(e2e_screenshot level1_start)" "$orb" && e2e_fail "the orb's colour is on the map before a shot"

# F1 before the monsters come: the help page holds play; ESC held keeps it,
# its release returns to play.
e2e_key F1
e2e_retry 10 0.2 game_shot_shows_line help_page 0 "$HELP_TOP" || e2e_fail "no help page after F1"
game_expect_line "$E2E_ARTIFACTS/help_page.png" 230 "submission.  Oh well, it's not terribly bad."
e2e_key_down Escape
sleep 0.5
game_shot_shows_line help_escape_held 0 "$HELP_TOP" || e2e_fail "the help page went before ESC was released"
e2e_key_up Escape
e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 5 back_in_play || e2e_fail "play did not come back after help"

# The dome is right of the cart: aim right and fire until orbs and monsters
# share a shot (the third such one, when more monsters have come).
e2e_key_down Right
e2e_key_down space
seen_orb=no seen_both=0
for attempt in $(seq 1 80); do
  shot=$(e2e_screenshot firing)
  if play_area_has "$shot" "$orb"; then
    seen_orb=yes
    if play_area_has "$shot" "$monster"; then
      cp "$shot" "$E2E_ARTIFACTS/play_with_orbs_and_monsters.png"
      seen_both=$((seen_both + 1))
      [ "$seen_both" -ge 3 ] && break
    fi
  fi
  sleep 0.1
done
e2e_key_up space
e2e_key_up Right
[ "$seen_orb" = yes ] || e2e_fail "no orb seen while SPACE was held"
[ "$seen_both" -gt 0 ] || e2e_fail "never saw orbs and monsters together"
level_expect_panel "$E2E_ARTIFACTS/play_with_orbs_and_monsters.png"

# Left alone, the monsters strike the dome down within a few minutes.
e2e_retry 360 0.5 game_shot_shows_line game_over 0 "$OVER_TOP" || e2e_fail "no game-over page within 180 s"
sleep 0.5
page=$(e2e_screenshot game_over)
game_expect_line "$page" 10 "The Balrogs destroyed all your domes!"
game_expect_line "$page" 50 "Press ESC to continue"
[ "$(game_line_difference "$page" 20 "Final score:  ")" -gt 0 ] || e2e_fail "no score after \"Final score:  \""

# ESC held keeps the page; on release the map menu is back, not the main menu.
e2e_key_down Escape
sleep 0.5
game_shot_shows_line game_over_escape_held 0 "$OVER_TOP" || e2e_fail "the game-over page went before ESC was released"
e2e_key_up Escape
e2e_wait_for_color "$SHELL_TEXT_X" 230 8 16 "$SHELL_RED" 5 map_menu_again || e2e_fail "no map menu after game over"
e2e_box_has_color "$E2E_ARTIFACTS/map_menu_again.png" 0 0 640 480 "$SHELL_GREEN" && e2e_fail "the main menu came back"
if e2e_box_has_color "$E2E_ARTIFACTS/map_menu_again.png" "$SHELL_TEXT_X" 240 8 8 "$SHELL_RED"; then
  e2e_key Up
fi
shell_expect_map_highlight map_menu_on_test 230
e2e_key Return
e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 10 test_map_playing || e2e_fail "no level panel on Test Map"
sleep 0.5
level_expect_panel "$(e2e_screenshot test_map_playing)"
e2e_key Escape
shell_expect_main_highlight back_in_main_menu 230
e2e_key Escape
shell_expect_exit_zero 5
level_expect_no_messages "the whole game"
e2e_pass
