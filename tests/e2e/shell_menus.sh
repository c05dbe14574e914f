#!/usr/bin/env bash
# The real game twice on one display, as it runs with no config file and no option: its own defaults alone.
# Without any audio device: the sound fallback's two messages, then the menu. With a null device: no
# message; DOWN and UP move the red highlight with wrapping, ENTER on the first entry opens the map menu and
# ESC comes back, ENTER on "Quit" ends the game with status 0.
source "$(dirname "$0")/lib.sh"
e2e_start shell_menus "${1:?build folder}"
e2e_copy_game
rm "$E2E_GAME_DIR/glimmerfall.cfg"
E2E_GAME_ARGS=()

e2e_make_home no-audio
e2e_start_game
shell_wait_for_menu menu_without_sound
[ "$(e2e_message_count)" = 2 ] && [[ "$(cat "$E2E_MESSAGES")" == "ERROR:  Failure to install sound.  Attempting to run \
without sound."$'\n\n--\nREPORT:  '?*$'\n--' ]] || e2e_fail "not the sound failure and its report: $(cat "$E2E_MESSAGES")"
e2e_escape_to_exit "the menu without sound"
mv "$E2E_MESSAGES" "$E2E_ARTIFACTS/messages_without_sound.txt" && : >"$E2E_MESSAGES"

e2e_make_home null-audio
e2e_start_game
shell_wait_for_menu main_menu
step=0
# Each move: the key, then the menu and the row of its red entry.
for move in Down:main:240 Down:main:250 Down:main:230 Up:main:250 Down:main:230 Return:map:230 Escape:main:230 \
  Up:main:250; do
  IFS=: read -r key menu row <<<"$move"
  e2e_key "$key"
  "shell_expect_${menu}_highlight" "$((++step))_${key}_${menu}_menu" "$row"
done
e2e_key Return
e2e_expect_exit 0 5 "ENTER on Quit"
[ ! -s "$E2E_MESSAGES" ] || e2e_fail "messages with a null audio device"
e2e_pass
