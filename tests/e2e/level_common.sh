#!/usr/bin/env bash
# Checks of a level in play for the end-to-end tests: the panel, asset pixels
# found on the screen, and the way into a map from the main menu.
# shellcheck source=tests/e2e/shell_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/shell_common.sh"

LEVEL_BOX_FILL=C80000
LEVEL_PANEL_TOP=380 # the panel picture covers the frame from this row down

# usage: level_asset_colour ASSET X Y  prints that pixel's colour as RRGGBB
level_asset_colour() {
  local rgb
  rgb=$(e2e_pixel "$E2E_GAME_DIR/${1:?asset}" "${2:?x}" "${3:?y}")
  # shellcheck disable=SC2086
  printf '%02X%02X%02X' ${rgb//,/ }
}

# usage: level_shows SHOT ASSET AX AY X Y  true when the 3 x 3 pixels around
# (X, Y) hold the colour of the asset's pixel (AX, AY)
level_shows() {
  e2e_box_has_color "$1" $(($5 - 1)) $(($6 - 1)) 3 3 "$(level_asset_colour "$2" "$3" "$4")"
}

# The four read-out boxes (red fill, dark red top and left edges), the frame
# rate and score written in orange-red, the face and the panel picture.
level_expect_panel() {
  local shot=$1 name box
  name=$(basename "$shot")
  for box in "118 450 188 470" "280 425 360 438" "280 455 360 468" "450 450 510 470"; do
    set -- $box
    e2e_box_has_color "$shot" $(($1 + 1)) $(($2 + 1)) $(($3 - $1)) $(($4 - $2)) "$LEVEL_BOX_FILL" ||
      e2e_fail "$name: no read-out box at $1,$2"
    e2e_box_has_color "$shot" "$1" $(($2 + 1)) 1 $(($4 - $2)) 8B0000 || e2e_fail "$name: no dark edge at $1,$2"
  done
  e2e_box_has_color "$shot" 118 450 71 21 FF4500 || e2e_fail "$name: no frame rate shown"
  e2e_box_has_color "$shot" 280 455 81 14 FF4500 || e2e_fail "$name: no score shown"
  level_shows "$shot" face.bmp 40 40 53 430 || e2e_fail "$name: no face at 13,390"
  level_shows "$shot" gui.bmp 600 470 600 470 || e2e_fail "$name: no panel picture"
  e2e_box_has_color "$shot" 0 0 640 480 FF00FF && e2e_fail "$name: magenta on the screen"
  return 0
}

# usage: level_enter_map level1|test  from the main menu, entry 0 highlighted
level_enter_map() {
  e2e_key Return
  shell_expect_map_highlight "map_menu_$1" 230
  if [ "$1" = level1 ]; then
    e2e_key Down
    shell_expect_map_highlight "map_menu_on_level1" 240
  fi
  e2e_key Return
  [ "${2:-}" = missing ] && return 0
  e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 10 "entering_$1" || e2e_fail "no level panel after choosing $1"
}

level_expect_no_messages() {
  [ "$(e2e_message_count)" = 0 ] || e2e_fail "${1:-}: the game showed messages: $(e2e_messages | tr '\n' ' ')"
}

# usage: level_ink_rows FILE X Y W H RRGGBB  prints the box's rows as strings of 0 (that colour) and 1 (any other)
level_ink_rows() {
  "$E2E_CONVERT" "$1" -crop "${4}x${5}+${2}+${3}" +repage -alpha off -fill white -opaque "#$6" -fill black \
    +opaque white -compress none pbm:- | awk '!/^#/ { for (i = 1; i <= NF; ++i) if (++n > 3) printf "%s", $i }' |
    fold -w "$4"
  echo
}
# The 8 x 8 cell at column CELL of the rows read above, as one string.
level_cell() { cut -c $(($2 * 8 + 1))-$(($2 * 8 + 8)) <<<"$1" | tr -d '\n'; }

# usage: level_read_fps SHOT TEXT_TOOL  prints the number in the frame-rate read-out, read glyph by glyph
# against the library's font (text at 25,5 of the box at 118,450).
level_read_fps() {
  local digits shown cell number="" d i
  "$2" 0123456789 "$E2E_WORK/digits.bmp" || e2e_fail "cannot render the digits"
  digits=$(level_ink_rows "$E2E_WORK/digits.bmp" 0 0 80 8 FFFFFF)
  shown=$(level_ink_rows "$1" 143 455 40 8 FF4500)
  for i in 0 1 2 3 4; do
    cell=$(level_cell "$shown" "$i")
    for d in 0 1 2 3 4 5 6 7 8 9; do
      [ "$cell" = "$(level_cell "$digits" "$d")" ] && number+=$d && break
    done
    [ ${#number} -eq $((i + 1)) ] || break
  done
  echo "$number"
}
