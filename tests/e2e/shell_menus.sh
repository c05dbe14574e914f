#!/usr/bin/env bash
# The real game twice on one display. Without any audio device it shows the
# sound fallback's two messages and its menu follows. With a null device it
# shows no message; DOWN and UP move the red highlight with wrapping, ENTER
# on the first entry opens the map menu and ESC comes back, ENTER on "Quit"
# ends the game with status 0.
source "$(dirname "$0")/shell_common.sh"
e2e_init shell_menus "${1:?build folder}"
e2e_start_xvfb

e2e_make_home no-audio
e2e_start_game
e2e_wait_for_messages 2 10 || e2e_fail "the two sound messages were not shown"
shell_wait_for_menu menu_without_sound
first=$(awk 'BEGIN { RS = "--\n" } NR == 1' "$E2E_MESSAGES")
second=$(awk 'BEGIN { RS = "--\n" } NR == 2' "$E2E_MESSAGES")
[ "$first" = "ERROR:  Failure to install sound.  Attempting to run without sound." ] || e2e_fail "first message: $first"
[[ "$second" == "REPORT:  "?* ]] || e2e_fail "second message: $second"
[ "$(e2e_message_count)" = 2 ] || e2e_fail "more than the two sound messages"
e2e_key Escape
shell_expect_exit_zero 5

: >"$E2E_MESSAGES"
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu
step=0
for move in Down:240 Down:250 Down:230 Up:250 Down:230; do
  step=$((step + 1))
  e2e_key "${move%:*}"
  shell_expect_main_highlight "main_${step}_${move%:*}" "${move#*:}"
done
e2e_key Return
shell_expect_map_highlight map_menu 230
e2e_key Escape
shell_expect_main_highlight back_from_map_menu 230
e2e_key Up
shell_expect_main_highlight on_quit 250
e2e_key Return
shell_expect_exit_zero 5
[ "$(e2e_message_count)" = 0 ] || e2e_fail "messages with a null audio device"
e2e_pass
