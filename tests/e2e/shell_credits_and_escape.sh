#!/usr/bin/env bash
# ENTER on "Credits" shows the credits page (white on black, no menu) until
# ESC is pressed and released, then the main menu is back on "Credits";
# ESC in the main menu ends the game with status 0.
source "$(dirname "$0")/shell_common.sh"
e2e_init shell_credits_and_escape "${1:?build folder}"
e2e_start_xvfb
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu

e2e_key Down
shell_expect_main_highlight on_credits 240
e2e_key Return
# The page's first rows are text from x 0: its heading and "Glimmerfall".
e2e_wait_for_color 0 0 8 8 "$SHELL_WHITE" 5 credits || e2e_fail "no credits page"
sleep 0.3
page=$(e2e_screenshot credits)
shell_cell_has "$page" 0 10 "$SHELL_WHITE" || e2e_fail "no line at y 10 of the credits page"
e2e_box_has_color "$page" 0 0 640 480 "$SHELL_GREEN" && e2e_fail "glyphs on the credits page"
e2e_box_has_color "$page" 0 0 640 480 "$SHELL_RED" && e2e_fail "a menu entry on the credits page"

# Held ESC keeps the page up; its release brings the menu back.
e2e_key_down Escape
sleep 0.5
held=$(e2e_screenshot credits_escape_held)
shell_cell_has "$held" 0 10 "$SHELL_WHITE" || e2e_fail "the page went before ESC was released"
e2e_game_running || e2e_fail "ESC on the credits page ended the game"
e2e_key_up Escape
shell_expect_main_highlight back_on_credits 240

e2e_key Escape
shell_expect_exit_zero 5
e2e_pass
