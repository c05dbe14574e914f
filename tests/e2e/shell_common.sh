#!/usr/bin/env bash
# Checks of the menus for the end-to-end tests. Every text starts at x 250: the title at y 180, the
# subtitle "  Alpha Stages" at 190 after two blanks, the entries at 230, 240 and 250.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
SHELL_TEXT_X=250 SHELL_RED=C80000 SHELL_WHITE=FFFFFF SHELL_GREEN=00FF00
# True when the 8 x 8 cell at (x, y) of SHOT has ink of colour WANT and none of OTHER.
shell_cell_is() { e2e_box_has_color "$1" "$2" "$3" 8 8 "$4" && ! e2e_box_has_color "$1" "$2" "$3" 8 8 "$5"; }
# Waits until the entry at row WANT is red, then checks a settled frame: title and subtitle white, WANT
# red, every other row of ROWS white.  usage: shell_expect_highlight SHOT WANT ROWS...
shell_expect_highlight() {
  local shot=$1 want=$2 y file colour other
  e2e_wait_for_color "$SHELL_TEXT_X" "$want" 8 8 "$SHELL_RED" 5 "$shot" || e2e_fail "$shot: no red entry at y $want"
  sleep 0.3 && file=$(e2e_screenshot "$shot")
  shell_cell_is "$file" "$SHELL_TEXT_X" 180 "$SHELL_WHITE" "$SHELL_RED" || e2e_fail "$shot: title not white"
  shell_cell_is "$file" $((SHELL_TEXT_X + 16)) 190 "$SHELL_WHITE" "$SHELL_RED" || e2e_fail "$shot: subtitle not white"
  for y in "${@:3}"; do
    colour=$SHELL_WHITE other=$SHELL_RED
    [ "$y" = "$want" ] && colour=$SHELL_RED other=$SHELL_WHITE
    shell_cell_is "$file" "$SHELL_TEXT_X" "$y" "$colour" "$other" || e2e_fail "$shot: entry at y $y not #$colour"
  done
  e2e_game_running || e2e_fail "$shot: the game ended"
  e2e_log "$shot: highlight at y $want"
}
shell_expect_main_highlight() { shell_expect_highlight "$1" "$2" 230 240 250; }
# The map menu has two entries and no glyph rain.
shell_expect_map_highlight() {
  shell_expect_highlight "$1" "$2" 230 240
  e2e_box_has_color "$E2E_ARTIFACTS/$1.png" "$SHELL_TEXT_X" 250 8 8 "$SHELL_WHITE" && e2e_fail "$1: a third map entry"
  e2e_box_has_color "$E2E_ARTIFACTS/$1.png" 0 0 640 480 "$SHELL_GREEN" && e2e_fail "$1: glyphs in the map menu"
  return 0
}
# The main menu on its first entry, over rising glyphs.
shell_wait_for_menu() {
  shell_expect_main_highlight "${1:-main_menu}" 230
  e2e_box_has_color "$E2E_ARTIFACTS/${1:-main_menu}.png" 0 0 640 480 "$SHELL_GREEN" || e2e_fail "no glyphs"
}
shell_expect_exit_zero() {
  e2e_wait_for_exit "${1:-5}" || e2e_fail "the game did not end within ${1:-5} s"
  [ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "exit status $E2E_EXIT_STATUS, not 0"
  e2e_log "ended with status 0"
}
