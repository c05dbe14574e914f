#!/usr/bin/env bash
# The player's settings on the real game, from a copy of the game folder. A bad option: status 2 and one line,
# no window. The shipped config (fps = 60): most of a core left free in the menu and in Level1, the FPS
# read-out near 60 (above 99 under --fps 0), one PNG per F12 press in the menu and in play.
# --map: a missing map is refused as a bad option is, and a file that is not a map shows the map message and
# ends with status 1 (a good one is played in the demo script). --no-music with the .ogg files gone: no
# message. The share of a core and the read-out are logged as the figures of this machine.
source "$(dirname "$0")/lib.sh"
e2e_start options_play "${1:?build folder}"
E2E_TEXT_TOOL=${2:?text reference tool (game_text_reference)}
e2e_copy_game

e2e_expect_refused 2 "glimmerfall: command line: --scale \"9\" is out of range; allowed: auto, fit or 1 to 4" --scale 9
e2e_expect_refused 2 "map nowhere.fmp: cannot be read (No such file or directory)" --map nowhere.fmp

# usage: fps_between SHOT LOW HIGH  true when a new shot's FPS read-out (text at 25,5 of the box at 118,450)
# is a number from LOW to HIGH
fps_between() {
  local shot fps
  shot=$(e2e_screenshot "$1")
  for fps in $(seq "$2" "$3"); do
    level_text_at "$shot" 143 455 "$fps" FF4500 && e2e_log "$1: FPS read-out $fps" && return 0
  done
  return 1
}
# usage: leave_level_and_game NAME ROW  (the main menu comes back on the row of the map's index)
leave_level_and_game() {
  e2e_key_hold Escape 0.5
  shell_expect_main_highlight "${1}_back" "$2"
  e2e_escape_to_exit "$1: the main menu"
}

E2E_GAME_ARGS=() # the shipped glimmerfall.cfg alone
e2e_start_game
shell_wait_for_menu paced_menu
menu_share=$(e2e_cpu_share 4)
e2e_log "share of a core in the menu at 60: ${menu_share}%"
[ "$menu_share" -lt 50 ] || e2e_fail "the paced menu used ${menu_share}% of a core"
e2e_f12_saves 1
level_enter_map level1
sleep 2 # a whole second of paced frames latched
e2e_retry 5 1 fps_between paced_level1 54 66 || e2e_fail "paced: the FPS read-out is not near 60"
play_share=$(e2e_cpu_share 4)
e2e_log "share of a core in play at 60: ${play_share}%"
[ "$play_share" -lt 50 ] || e2e_fail "paced play used ${play_share}% of a core"
e2e_f12_saves 2
leave_level_and_game paced 240

# A file that is not a map: the map message, then status 1, a failure.
echo "not a map" >"$E2E_WORK/text.fmp"
E2E_GAME_ARGS=(--map "$E2E_WORK/text.fmp")
e2e_start_game
e2e_expect_exit 1 15 "--map with a text file"
level_expect_one_message "Cannot find MAP file:  $E2E_WORK/text.fmp"
: >"$E2E_MESSAGES"

# --fps 0 unpaces the game again: the read-out has a third digit (x 159).
rm "$E2E_GAME_DIR"/*.ogg
E2E_GAME_ARGS=(--no-music --fps 0)
e2e_start_game
shell_wait_for_menu silent_menu
level_enter_map test
sleep 2
e2e_retry 5 1 e2e_shot_has_color unpaced_test 159 455 8 8 FF4500 || e2e_fail "--fps 0: the FPS read-out is under 100"
leave_level_and_game silent 230
level_expect_no_messages "--no-music without the .ogg files"
e2e_pass
