#!/usr/bin/env bash
# --window --scale 2 on a 1920x1080 screen: a 1280x960 window shows the menu at twice its size, every game
# pixel a 2x2 square (the entries and their highlight where they belong); F12 still saves the 640x480
# picture. The window's close button ends the game with status 0 from the menu, from play and from the
# help page.
source "$(dirname "$0")/level_common.sh"
e2e_init options_window "${1:?build folder}"
CLOSE_TOOL=${2:?close_window tool}
e2e_start_xvfb 1920x1080x24
E2E_GAME_ARGS=(--window --scale 2)

game_window() { xwininfo -root -children | awk '/"glimmerfall"/ { print $1, $(NF - 1) }'; }
window_open() { [ -n "$(game_window)" ]; }
start_windowed() {
  e2e_start_game
  e2e_retry 50 0.2 window_open || e2e_fail "no game window"
  read -r WINDOW GEOMETRY <<<"$(game_window)"
  [ "${GEOMETRY%%+*}" = 1280x960 ] || e2e_fail "the window is $GEOMETRY, not 1280x960"
}
# usage: window_shot NAME  the window's part of a new screenshot
window_shot() {
  "$E2E_CONVERT" "$(e2e_screenshot "$1")" -crop "1280x960+${GEOMETRY#*+}" +repage "$E2E_ARTIFACTS/$1.png"
  echo "$E2E_ARTIFACTS/$1.png"
}
# usage: window_has NAME X Y W H RRGGBB  true when a new shot of the window has that colour in the box
window_has() { e2e_box_has_color "$(window_shot "$1")" "${@:2}"; }
close_expecting_exit() {
  "$CLOSE_TOOL" "$WINDOW" || e2e_fail "$1: could not send the close message"
  shell_expect_exit_zero 15
  grep -q signal "$E2E_ARTIFACTS/game.log" && e2e_fail "$1: the game was killed, not shut down"
  level_expect_no_messages "$1"
}

start_windowed
# The first entry red, the second white, at twice their places (x 250, y 230 and 240 in the game).
e2e_retry 40 0.25 window_has menu_2x 500 460 16 16 "$SHELL_RED" || e2e_fail "no red entry at 2x"
sleep 0.3 && shot=$(window_shot menu_2x)
e2e_box_has_color "$shot" 500 360 16 16 "$SHELL_WHITE" && ! e2e_box_has_color "$shot" 500 360 16 16 "$SHELL_RED" ||
  e2e_fail "no white title at 2x"
e2e_box_has_color "$shot" 500 480 16 16 "$SHELL_WHITE" || e2e_fail "no white second entry at 2x"
e2e_box_has_color "$shot" 0 0 1280 960 "$SHELL_GREEN" || e2e_fail "no glyphs at 2x"
# Pixel replication: halving by sampling and doubling again gives the very same picture. A shot may catch
# the window between two pictures (a torn row), so a few are tried.
replicated() {
  [ "$("$E2E_CONVERT" "$(window_shot menu_2x_squares)" \( +clone -sample 50% -sample 200% \) -compose difference \
    -composite -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:)" = 0 ]
}
e2e_retry 10 0.1 replicated || e2e_fail "pixels of the 2x picture that are not part of a 2x2 square"
e2e_key F12
shot_saved() { [ -n "$(find "$E2E_HOME/.local/share/glimmerfall/screenshots" -name '*.png' 2>/dev/null)" ]; }
e2e_retry 50 0.1 shot_saved ||
  e2e_fail "no screenshot"
[ "$(identify -format '%wx%h' "$E2E_HOME"/.local/share/glimmerfall/screenshots/*.png)" = 640x480 ] ||
  e2e_fail "the screenshot is not the 640x480 picture"
close_expecting_exit "from the menu"

for place in play help; do
  start_windowed
  e2e_retry 40 0.25 window_has "menu_before_$place" 500 460 16 16 "$SHELL_RED" ||
    e2e_fail "no menu"
  e2e_key Return && e2e_key Return
  e2e_retry 40 0.25 window_has "$place" 238 902 138 38 "$LEVEL_BOX_FILL" ||
    e2e_fail "no level panel at 2x"
  if [ "$place" = help ]; then
    e2e_key F1
    e2e_retry 40 0.2 window_has help_page 0 0 704 16 "$SHELL_WHITE" || e2e_fail "no help page at 2x"
  fi
  close_expecting_exit "from $place"
done
e2e_pass
