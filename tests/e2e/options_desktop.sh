#!/usr/bin/env bash
# The settings on a 1920x1080 desktop under a real window manager (openbox). The shipped config: full screen
# is a 1920x1080 window at 0,0 in the full-screen state (a window: the library's full-screen mode would grab
# the keyboard), the menu at exactly 2x in the middle, black borders. Alt+Enter goes to a 1280x960 window and
# back, in the menu (which stays where it was) and in play (paused or not). Focusing another window pauses
# play (the picture stands, "Paused" over it) and focusing the game again resumes it; so does P (the process
# near idle); the window manager's close ends a paused game. --scale fit: a 1440x1080 picture; --scale 3:
# lowered to 2 with one line on stderr. The shares of a core are logged as this machine's figures.
source "$(dirname "$0")/lib.sh"
e2e_start options_desktop "${1:?build folder}" 1920x1080x24
openbox --sm-disable >"$E2E_ARTIFACTS/openbox.log" 2>&1 &
WM_PID=$!
OTHER_PID=""
trap 'kill $WM_PID $OTHER_PID 2>/dev/null; e2e_cleanup' EXIT
e2e_retry 100 0.2 wmctrl -m >/dev/null 2>&1 || e2e_fail "openbox did not start"

game_id() { wmctrl -l | awk '/ glimmerfall$/ { print $1 }'; }
game_geometry() { wmctrl -l -G | awk '/ glimmerfall$/ { print $5 "x" $6 "+" $3 "+" $4 }'; }
full_screen_state() { xprop -id "$(game_id)" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
full_screen() { [ "$(game_geometry)" = 1920x1080+0+0 ] && full_screen_state; }
in_window() { [ "$(game_geometry | cut -d+ -f1)" = 1280x960 ] && ! full_screen_state; }
alt_enter() { e2e_key_down Alt_L && e2e_key Return && e2e_key_up Alt_L; }
# usage: switch_to in_window|full_screen WHERE  Alt+Enter, then the game so within 6 s
switch_to() { alt_enter && e2e_retry 30 0.2 "$1" || e2e_fail "Alt+Enter $2: not $1: $(game_geometry)"; }
# usage: all_black FILE X Y W H
all_black() {
  [ "$("$E2E_CONVERT" "$1" -crop "${4}x${5}+${2}+${3}" +repage -alpha off -separate -evaluate-sequence max \
    -format '%[fx:maxima]' info:)" = 0 ]
}
same_shots() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
# usage: standing NAME [SECONDS]  true when two shots that far apart (1 s) are the same picture
standing() { local first; first=$(e2e_screenshot "$1_a") && sleep "${2:-1}" && same_shots "$first" "$(e2e_screenshot "$1_b")"; }
moving() { ! standing "$1" 0.2; }
paused_shown() { e2e_box_has_color "$(e2e_screenshot "$1")" 900 520 120 40 "$SHELL_WHITE"; }
# The first entry red at its 2x place (game 250,230 + the border of 320,60), the borders black.
menu_at_2x() {
  local shot
  e2e_retry 40 0.25 e2e_shot_has_color "$1" 820 520 16 16 "$SHELL_RED" || e2e_fail "$1: no red entry at 2x"
  shot=$E2E_ARTIFACTS/$1.png
  e2e_box_has_color "$shot" 320 60 1280 960 "$SHELL_GREEN" || e2e_fail "$1: no glyphs"
  all_black "$shot" 0 0 320 1080 && all_black "$shot" 1600 0 320 1080 || e2e_fail "$1: side borders not black"
  all_black "$shot" 320 0 1280 60 && all_black "$shot" 320 1020 1280 60 || e2e_fail "$1: top or bottom not black"
}

E2E_GAME_ARGS=() # the shipped glimmerfall.cfg alone
e2e_start_game
e2e_retry 50 0.2 full_screen || e2e_fail "not a full-screen 1920x1080 window: $(game_geometry)"
menu_at_2x menu_full
e2e_log "share of a core in the menu, full screen at 60: $(e2e_cpu_share 4)%"

switch_to in_window "in the menu"
switch_to full_screen "in the menu again"
menu_at_2x menu_full_again # the main menu still, not the map menu ENTER would have opened

e2e_key Return && e2e_key Down && e2e_key Return # Level1
e2e_wait_for_color 558 962 138 38 "$LEVEL_BOX_FILL" 10 play || e2e_fail "no level panel at 2x"
# A level lasts some 15 s of play, pauses not counted: the checks of play come first and stay short.
xmessage -geometry +0+0 -title other "another window" >/dev/null 2>&1 &
OTHER_PID=$!
e2e_retry 50 0.1 wmctrl -a other || e2e_fail "no other window to focus"
e2e_retry 10 0.2 paused_shown unfocused || e2e_fail "another window focused: no \"Paused\""
standing unfocused || e2e_fail "another window focused: the level goes on"
wmctrl -ia "$(game_id)"
moving refocused || e2e_fail "focused again: the level stands"

e2e_key p
e2e_retry 10 0.2 paused_shown paused || e2e_fail "P: no \"Paused\""
standing paused || e2e_fail "P: the level goes on"
share=$(e2e_cpu_share 4)
e2e_log "share of a core while paused: ${share}%"
[ "$share" -le 2 ] || e2e_fail "paused, the game used ${share}% of a core (at most 2)"
switch_to in_window "while paused"
switch_to full_screen "while paused again"
standing paused_after_switches || e2e_fail "the pause ended with Alt+Enter"
e2e_key p
moving resumed || e2e_fail "P again: the level stands"

switch_to in_window "in play"
moving play_window || e2e_fail "the level stands in a window"
switch_to full_screen "in play again"
e2e_key p
e2e_retry 10 0.2 paused_shown paused_to_close || e2e_fail "P: no \"Paused\" the second time"
wmctrl -c glimmerfall # the window manager's close (Alt+F4) while paused ends the game
e2e_expect_exit 0 10 "the close while paused"

E2E_GAME_ARGS=(--scale fit)
e2e_start_game
e2e_retry 50 0.2 full_screen || e2e_fail "fit: not full screen"
e2e_retry 20 0.25 e2e_shot_has_color fit 240 0 80 1080 "$SHELL_GREEN" || e2e_fail "fit: no picture between x 240 and 320"
all_black "$E2E_ARTIFACTS/fit.png" 0 0 240 1080 && all_black "$E2E_ARTIFACTS/fit.png" 1680 0 240 1080 ||
  e2e_fail "fit: the borders beside 1440x1080 are not black"
e2e_escape_to_exit "--scale fit"

E2E_GAME_ARGS=(--scale 3)
e2e_start_game
menu_at_2x lowered
e2e_escape_to_exit "--scale 3"
grep -qx "glimmerfall: scale 3 (1920 x 1440) does not fit the 1920 x 1080 desktop; using scale 2" \
  "$E2E_ARTIFACTS/game.log" || e2e_fail "--scale 3: $(cat "$E2E_ARTIFACTS/game.log")"
level_expect_no_messages "the desktop display"
e2e_pass
