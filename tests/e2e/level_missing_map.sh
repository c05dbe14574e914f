#!/usr/bin/env bash
# A map file that is missing ends the game when it is chosen: graphics are
# left, "Cannot find MAP file:  level1.fmp" is the one message, and the
# status is 0. The game runs from a copy of its folder without level1.fmp.
source "$(dirname "$0")/level_common.sh"
e2e_init level_missing_map "${1:?build folder}"
copy=$(mktemp -d /tmp/glimmerfall-e2e-nomap-XXXXXX)
trap 'rm -rf "$copy"; e2e_cleanup' EXIT
cp -a "$E2E_GAME_DIR/." "$copy/"
rm -f "$copy/level1.fmp"
E2E_GAME_DIR=$copy

e2e_start_xvfb
e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu
e2e_key Return
shell_expect_map_highlight map_menu 230
e2e_key Down
shell_expect_map_highlight map_menu_on_level1 240
e2e_key Return

e2e_wait_for_messages 1 10 || e2e_fail "no message after choosing the missing map"
shell_expect_exit_zero 10
# The library's message box may end the text with a newline of its own.
[ "$(e2e_message_count)" = 1 ] || e2e_fail "$(e2e_message_count) messages: $(e2e_messages | tr '\n' '|')"
[ "$(head -1 "$E2E_MESSAGES")" = "Cannot find MAP file:  level1.fmp" ] ||
  e2e_fail "the message was: $(head -1 "$E2E_MESSAGES")"
e2e_log "message: $(head -1 "$E2E_MESSAGES")"
e2e_pass
