#!/usr/bin/env bash
# One game on a copy of the game folder: "Test Map", then "Level1" (map, dome,
# cart, panel; LEFT CONTROL held 2 s changes the play area; ESC back to the
# main menu; no message from the music), then level1.fmp is deleted and chosen
# again: its message, then status 0.
source "$(dirname "$0")/lib.sh"
e2e_start level_play "${1:?build folder}"
e2e_copy_game
e2e_start_game
shell_wait_for_menu main_menu

# usage: play MAP CART_X CART_Y DOME_X DOME_Y DOME_BAR_WIDTH BACK_ON  (screen
# positions: the camera keeps the cart's centre at (310, 230) inside the map)
play() {
  local map=$1 start driving colours changed moved=
  level_enter_map "$map"
  sleep 0.3 # shots first: the monsters bring the dome down within seconds
  start=$(e2e_screenshot "${map}_start")
  # The unpaced loop runs the cart round its track many times a second, so a
  # single shot may catch it back near its start with the view still clamped:
  # it has moved once any shot shows the view scrolled or the cart gone.
  e2e_key_down Control_L
  sleep 1
  for shot in 1 2 3 4 5; do
    sleep 0.2
    driving=$(e2e_screenshot "${map}_driving")
    changed=$("$E2E_CONVERT" "$start" "$driving" -crop "640x${LEVEL_PANEL_TOP}+0+0" +repage -compose difference \
      -composite -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:)
    if [ "$changed" -ge 20000 ] || ! level_shows "$driving" Cart.bmp 10 10 $(($2 + 10)) $(($3 + 10)); then
      moved=$shot
      break
    fi
  done
  e2e_key_up Control_L
  e2e_key_hold Escape 0.5 # the map menu sees ESC still down and leaves too
  shell_expect_main_highlight "back_from_$map" "$7"
  level_expect_no_messages "after $map"
  level_expect_panel "$start"
  level_expect_panel "$driving"
  e2e_box_has_color "$start" "$4" $(($5 - 20)) "$6" 1 FFFFFF || e2e_fail "$map: no dome bar outline at $4,$(($5 - 20))"
  e2e_box_has_color "$start" $(($4 + 1)) $(($5 - 19)) $(($6 - 1)) 9 00FF00 || e2e_fail "$map: no green in the dome bar"
  if [ $(($4 + 45)) -lt 640 ]; then
    level_shows "$start" dome.bmp 45 64 $(($4 + 45)) $(($5 + 64)) || e2e_fail "$map: no dome at $4,$5"
  fi
  level_shows "$start" Cart.bmp 10 10 $(($2 + 10)) $(($3 + 10)) || e2e_fail "$map: no cart at $2,$3"
  colours=$("$E2E_CONVERT" "$start" -crop "640x${LEVEL_PANEL_TOP}+0+0" +repage -unique-colors -format '%w' info:)
  [ "$colours" -ge 50 ] || e2e_fail "$map: the play area has only $colours colours: no map drawn"
  [ -n "$moved" ] || e2e_fail "$map: neither the view nor the cart moved while driving"
}

# Test Map: camera (26, 138), so the dome at (640, 480) shows 26 columns.
play test 294 214 614 342 26 230
play level1 160 128 288 160 129 240

rm "$E2E_GAME_DIR/level1.fmp"
e2e_key Up
shell_expect_main_highlight main_menu_again 230
level_enter_map level1 missing
e2e_wait_for_messages 1 10 || e2e_fail "no message after choosing the missing map"
shell_expect_exit_zero 10
[ "$(e2e_message_count)" = 1 ] || e2e_fail "$(e2e_message_count) messages: $(e2e_messages | tr '\n' '|')"
[ "$(head -1 "$E2E_MESSAGES")" = "Cannot find MAP file:  level1.fmp" ] || e2e_fail "message: $(head -1 "$E2E_MESSAGES")"
e2e_pass
