#!/usr/bin/env bash
# A map chosen in the map menu is played; leaving it with ESC comes back
# through the map menu, which sees ESC still held, ends, waits for its
# release and hands over to the main menu, still on its first entry.
source "$(dirname "$0")/shell_common.sh"
e2e_init shell_level_return "${1:?build folder}"
e2e_start_xvfb
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu
e2e_key Return
shell_expect_map_highlight map_menu 230

e2e_key Return
# The map menu is black but for its texts; the level fills the screen.
played=""
for attempt in $(seq 1 20); do
  shot=$(e2e_screenshot level)
  if ! e2e_box_only_color "$shot" 0 0 640 170 000000; then
    played=yes
    break
  fi
  sleep 0.25
done
[ -n "$played" ] || e2e_fail "the chosen map was not shown"
e2e_game_running || e2e_fail "the game ended while playing the map"

e2e_key_down Escape
sleep 0.5
e2e_game_running || e2e_fail "ESC in the level ended the game"
e2e_key_up Escape
shell_expect_main_highlight back_in_main_menu 230

e2e_key Escape
shell_expect_exit_zero 5
e2e_pass
