#!/usr/bin/env bash
# The main menu comes up over the glyph rain; DOWN and UP move the red
# highlight with wrapping; ENTER on the first entry opens the map menu, ESC
# comes back; ENTER on "Quit" ends the game with status 0.
source "$(dirname "$0")/shell_common.sh"
e2e_init shell_menu_navigation "${1:?build folder}"
e2e_start_xvfb
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu

# The null ALSA device lets the sound driver start: no fallback message.
grep -q "Failure to install sound" "$E2E_MESSAGES" && e2e_fail "sound fell back with a null device present"

e2e_key Down
shell_expect_main_highlight down_1 240
e2e_key Down
shell_expect_main_highlight down_2 250
e2e_key Down
shell_expect_main_highlight down_3 230
e2e_key Up
shell_expect_main_highlight up_from_first 250

e2e_key Down
shell_expect_main_highlight back_to_first 230
e2e_key Return
shell_expect_map_highlight map_menu 230
e2e_key Down
shell_expect_map_highlight map_menu_level1 240
e2e_key Up
shell_expect_map_highlight map_menu_test_map 230
e2e_key Escape
shell_expect_main_highlight after_map_menu 230

e2e_key Up
shell_expect_main_highlight on_quit 250
e2e_key Return
shell_expect_exit_zero 5
e2e_pass
