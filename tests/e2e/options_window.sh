#!/usr/bin/env bash
# --window --scale 2 on a 1920x1080 screen: a 1280x960 window shows the menu at twice its size, every game
# pixel a 2x2 square (the highlighted entry where it belongs); F12 still saves the 640x480 picture. The
# window's close button ends the game with status 0 from the menu, from play and from the help page (of a
# --map level); SIGINT, SIGTERM and SIGQUIT with 128 + their number from the menu, from play and while
# paused; each through the usual shutdown (no message, no core). Every way out of a recorded level writes
# the demo and its end line; the one closed on the help page with the cart moving plays back, timed, to
# that very line.
source "$(dirname "$0")/lib.sh"
e2e_start options_window "${1:?build folder}" 1920x1080x24
CLOSE_TOOL=${2:?close_window tool}

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
# usage: expect_way_out STATUS WHAT  the game ends by its own shutdown with STATUS
expect_way_out() {
  e2e_expect_exit "$1" 15 "$2"
  grep -q signal "$E2E_ARTIFACTS/game.log" && e2e_fail "$2: the game was killed, not shut down"
  level_expect_no_messages "$2"
}
close_expecting_exit() { "$CLOSE_TOOL" "$WINDOW" || e2e_fail "$1: no close message sent"; expect_way_out 0 "$1"; }
# usage: recorded DEMO  the demo's end line into LINE; fails without it or the file
recorded() {
  [ -s "$1" ] && LINE=$(grep "^demo $1: [0-9]* frames, " "$E2E_ARTIFACTS/game.log") || e2e_fail "no demo $1"
}
in_play() { e2e_retry 40 0.25 window_has "$1" 238 902 138 38 "$LEVEL_BOX_FILL" || e2e_fail "$1: no level panel at 2x"; }
# usage: start_in menu|PLACE ARGS...  a 2x window given ARGS, left on the menu or in Test Map
start_in() {
  E2E_GAME_ARGS=(--window --scale 2 "${@:2}")
  start_windowed
  e2e_retry 40 0.25 window_has "before_$1" 500 460 16 16 "$SHELL_RED" || e2e_fail "$1: no menu"
  [ "$1" = menu ] || { e2e_key Return && e2e_key Return && in_play "$1"; }
  if [ "$1" = paused ]; then e2e_key p && sleep 0.5; fi
}
show_help() {
  e2e_key F1
  e2e_retry 40 0.2 window_has help_page 0 0 704 16 "$SHELL_WHITE" || e2e_fail "no help page at 2x"
}

# start_in finds the first entry red at twice its place (x 250, y 230 in the game).
start_in menu
# Pixel replication: halving by sampling and doubling again gives the very same picture. A shot may catch
# the window between two pictures (a torn row), so a few are tried.
replicated() {
  [ "$("$E2E_CONVERT" "$(window_shot menu_2x_squares)" \( +clone -sample 50% -sample 200% \) -compose difference \
    -composite -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:)" = 0 ]
}
e2e_retry 10 0.1 replicated || e2e_fail "pixels of the 2x picture that are not part of a 2x2 square"
e2e_f12_saves 1
close_expecting_exit "from the menu"

start_in play --record "$E2E_WORK/play.dem"
close_expecting_exit "from play"
recorded "$E2E_WORK/play.dem"
for signal in INT TERM QUIT; do
  for place in menu play paused; do
    start_in "$place" --record "$E2E_WORK/$signal.dem"
    kill -s "$signal" "$E2E_GAME_PID"
    expect_way_out $((128 + $(kill -l "$signal"))) "SIG$signal in the $place"
  done
  recorded "$E2E_WORK/$signal.dem"
done

# --map with --record, closed on the help page with the cart moving: the demo ends at the frame before the
# page, and its timed playback ends on the very same line.
E2E_GAME_ARGS=(--window --scale 2 --map test.fmp --record "$E2E_WORK/map.dem")
start_windowed
in_play map_play
e2e_key_down Control_L && sleep 0.5 && show_help && e2e_key_up Control_L
close_expecting_exit "from the help page of --map"
recorded "$E2E_WORK/map.dem"
e2e_run 0 --window --timedemo "$E2E_WORK/map.dem"
[ "$(grep '^demo ' "$E2E_WORK/out")" = "$LINE" ] || e2e_fail "recorded \"$LINE\", played back: $(cat "$E2E_WORK/out")"
e2e_pass
