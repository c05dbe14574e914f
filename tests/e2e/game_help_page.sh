#!/usr/bin/env bash
# F1 in play shows the help page, white on black, and holds the game; ESC
# (pressed and released) returns to play, not to the menus; ESC then leaves
# the level as usual.
# usage: game_help_page.sh BUILD_DIR TEXT_REFERENCE_TOOL
source "$(dirname "$0")/game_common.sh"
e2e_init game_help_page "${1:?build folder}"
GAME_TEXT_REFERENCE=${2:?text reference tool}
e2e_start_xvfb
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu

# "Test Map": its dome lies at the view's edge, so the monsters take longer.
level_enter_map test
e2e_key F1
sleep 0.3
page=$(e2e_screenshot help_page)
game_expect_line "$page" 0 "------------------Help Menu-----------------"
game_expect_line "$page" 10 "LEFT CONTROL - Turn on front engines"
game_expect_line "$page" 20 "SHIFT or ALT - Turn on back engines"
game_expect_line "$page" 30 "SPACE - Fire fire-like weapon"
game_expect_line "$page" 40 "ARROW KEYS - Aim Turret"
game_expect_line "$page" 50 "F1 - Help Menu"
game_expect_line "$page" 60 "ESC - Exit current map and/or game"
game_expect_line "$page" 100 "Object of Game"
game_expect_line "$page" 110 "Kill the oncoming Balrogs before they reach the"
game_expect_line "$page" 140 "let the monsters win!"
game_expect_line "$page" 180 "The core elements of this game are done, "
game_expect_line "$page" 230 "submission.  Oh well, it's not terribly bad."
game_box_is_black "$page" 0 70 640 30 || e2e_fail "the blank rows 70..99 are not black"
game_box_is_black "$page" 0 240 640 240 || e2e_fail "something below the help text"

# Play is held: a second later the page is unchanged, no frame drawn over it.
sleep 1
later=$(e2e_screenshot help_page_later)
[ "$(level_play_area_difference "$page" "$later")" = 0 ] || e2e_fail "the screen changed under the help page"
e2e_log "help page shown and held"

# ESC held keeps the page; its release returns to play.
e2e_key_down Escape
sleep 0.5
held=$(e2e_screenshot help_escape_held)
game_expect_line "$held" 0 "------------------Help Menu-----------------"
e2e_game_running || e2e_fail "ESC on the help page ended the game"
e2e_key_up Escape
e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 5 back_in_play || e2e_fail "play did not come back"
sleep 0.3
back=$(e2e_screenshot back_in_play)
level_expect_panel "$back"
e2e_log "ESC returned to play"

e2e_key_down Escape
sleep 0.5
e2e_key_up Escape
shell_expect_main_highlight back_in_main_menu 230
e2e_key Escape
shell_expect_exit_zero 5
level_expect_no_messages "help page"
e2e_pass
