#!/usr/bin/env bash
# The whole game on "Level1": SPACE fires orbs along the turret; the monsters
# come to the dome, and left alone they bring it down; the game-over page
# shows its lines, white on black; ESC returns to the map menu, from which
# the other map can be played. Keeps a shot of play with orbs and monsters
# (play_with_orbs_and_monsters.png).
# usage: game_fire_and_game_over.sh BUILD_DIR TEXT_REFERENCE_TOOL
source "$(dirname "$0")/game_common.sh"
e2e_init game_fire_and_game_over "${1:?build folder}"
GAME_TEXT_REFERENCE=${2:?text reference tool}
e2e_start_xvfb
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu
game_learn_colours

level_enter_map level1
start=$(e2e_screenshot level1_start)
game_play_area_has "$start" "$GAME_ORB_COLOUR" && e2e_fail "the orb's colour is on the map before a shot"
# (A monster may already be in view this early, so its colour is not checked.)

# The dome is to the right of the cart: aim right and hold fire until a shot
# shows orbs in flight and, once they have arrived, monsters.
e2e_key_down Right
e2e_key_down space
seen_orb=no
seen_both=0
for attempt in $(seq 1 80); do
  shot=$(e2e_screenshot firing)
  if game_play_area_has "$shot" "$GAME_ORB_COLOUR"; then
    if [ "$seen_orb" = no ]; then
      cp "$shot" "$E2E_ARTIFACTS/orbs_in_flight.png"
      seen_orb=yes
    fi
    # Keep the third such shot: by then more monsters have come.
    if game_play_area_has "$shot" "$GAME_MONSTER_COLOUR"; then
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
e2e_log "orbs fly; orbs and monsters on one screen"
level_expect_panel "$E2E_ARTIFACTS/play_with_orbs_and_monsters.png"

# Left alone, the monsters strike the dome down within a few minutes.
game_wait_for_line 0 "------------------Game Over-----------------" 180 waiting_for_game_over ||
  e2e_fail "no game-over page within 180 s"
sleep 0.5
page=$(e2e_screenshot game_over)
game_expect_line "$page" 0 "------------------Game Over-----------------"
game_expect_line "$page" 10 "The Balrogs destroyed all your domes!"
game_expect_line "$page" 50 "Press ESC to continue"
# Score and time are whatever the game reached; the labels are fixed.
score_row=$(game_line_difference "$page" 20 "Final score:  ")
[ "$score_row" -gt 0 ] || e2e_fail "no score after \"Final score:  \""
game_box_is_black "$page" 0 60 640 420 || e2e_fail "something besides the text on the game-over page"
e2e_log "game-over page shown"

# The page stays until ESC has been pressed and released; the map menu is
# back, the level's ESC not taken for the menu's.
e2e_key_down Escape
sleep 0.5
page_held=$(e2e_screenshot game_over_escape_held)
game_expect_line "$page_held" 0 "------------------Game Over-----------------"
e2e_key_up Escape
e2e_wait_for_color "$SHELL_TEXT_X" 230 8 16 "$SHELL_RED" 5 map_menu_again ||
  e2e_fail "no map menu after the game-over page"
e2e_box_has_color "$E2E_ARTIFACTS/map_menu_again.png" 0 0 640 480 "$SHELL_GREEN" &&
  e2e_fail "glyphs: the main menu came back, not the map menu"

# The second map, "Test Map", in the same process.
if e2e_box_has_color "$E2E_ARTIFACTS/map_menu_again.png" "$SHELL_TEXT_X" 240 8 8 "$SHELL_RED"; then
  e2e_key Up
fi
shell_expect_map_highlight map_menu_on_test 230
e2e_key Return
e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 10 test_map_playing ||
  e2e_fail "no level panel after choosing Test Map"
sleep 0.5
second=$(e2e_screenshot test_map_playing)
level_expect_panel "$second"
e2e_key_down Escape
sleep 0.5
e2e_key_up Escape
# The main menu comes back on the entry of the map menu's choice.
shell_expect_main_highlight back_in_main_menu 230
e2e_key Escape
shell_expect_exit_zero 5
level_expect_no_messages "the whole game"
e2e_pass
