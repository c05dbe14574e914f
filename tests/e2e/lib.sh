#!/usr/bin/env bash
# Harness for the end-to-end tests: the real game under Xvfb, driven with xdotool, watched through
# screenshots and the messages it shows. e2e_init NAME BUILD_DIR puts artefacts in BUILD_DIR/artifacts/NAME.
# Colours are RRGGBB, boxes X Y W H. allegro_message runs `xmessage` under X11: a stand-in first on PATH
# appends the text and a line "--" to ARTIFACTS/messages.txt and exits 101 as if OK had been clicked.
set -uo pipefail
E2E_NAME="" E2E_GAME_DIR="" E2E_ARTIFACTS="" E2E_WORK="" E2E_HOME="" E2E_MESSAGES=""
E2E_XVFB_PID="" E2E_GAME_PID=""
E2E_CONVERT=$(command -v convert-im6.q16 || command -v convert)
E2E_KEY_HOLD=${E2E_KEY_HOLD:-0.15}  # long enough for the game's keyboard polling to see both edges
# The game folder ships a config that paces the game at 60 passes a second; the tests of the game's own
# rules run it unpaced, as it runs with no config at all. A test of the settings sets its own arguments.
E2E_GAME_ARGS=(--fps 0)
e2e_log() { echo "[$E2E_NAME] $*"; }

e2e_init() {
  E2E_NAME=${1:?test name}
  E2E_GAME_DIR=$(cd "${2:?build folder}" && pwd)/game
  E2E_ARTIFACTS=$(dirname "$E2E_GAME_DIR")/artifacts/$E2E_NAME
  rm -rf "$E2E_ARTIFACTS" && mkdir -p "$E2E_ARTIFACTS"
  E2E_WORK=$(mktemp -d /tmp/glimmerfall-e2e-XXXXXX) && mkdir "$E2E_WORK/bin"
  E2E_MESSAGES=$E2E_ARTIFACTS/messages.txt && : >"$E2E_MESSAGES"
  printf '#!/bin/sh\nfor text; do :; done\nprintf "%%s\\n--\\n" "$text" >>"%s"\nexit 101\n' "$E2E_MESSAGES" \
    >"$E2E_WORK/bin/xmessage"
  chmod +x "$E2E_WORK/bin/xmessage"
  trap e2e_cleanup EXIT && trap 'exit 130' INT TERM
  [ -x "$E2E_GAME_DIR/glimmerfall" ] || e2e_fail "no game at $E2E_GAME_DIR/glimmerfall"
}

e2e_cleanup() {
  e2e_game_running && kill "$E2E_GAME_PID" && sleep 0.2 && kill -9 "$E2E_GAME_PID" 2>/dev/null
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
  [ -n "$E2E_WORK" ] && rm -rf "$E2E_WORK"
}
e2e_fail() {
  e2e_log "FAIL: $*"
  [ -n "${DISPLAY:-}" ] && [ -n "$E2E_XVFB_PID" ] && e2e_screenshot failure >/dev/null 2>&1
  [ -s "$E2E_MESSAGES" ] && e2e_log "messages shown:" && sed 's/^/    /' "$E2E_MESSAGES"
  exit 1
}
e2e_pass() { e2e_log "passed"; exit 0; }
# usage: e2e_retry TRIES PAUSE COMMAND...  true as soon as COMMAND is.
e2e_retry() {
  local tries=$1 pause=$2 try
  shift 2
  for try in $(seq 1 "$tries"); do
    "$@" && return 0 || sleep "$pause"
  done
  return 1
}

# A fresh display (640x480x24 unless given) as DISPLAY; the server picks a free number itself.
e2e_start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "${1:-640x480x24}" -nolisten tcp 3>"$E2E_WORK/display" 2>"$E2E_WORK/xvfb.log" &
  E2E_XVFB_PID=$!
  e2e_retry 100 0.1 test -s "$E2E_WORK/display" || e2e_fail "could not start Xvfb"
  export DISPLAY=":$(cat "$E2E_WORK/display")"
  # The number comes before the server takes clients on a loaded machine: a game started at once could
  # find no display and stop at the library's start-up.
  e2e_retry 100 0.1 xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb on $DISPLAY does not answer"
  e2e_log "Xvfb on $DISPLAY"
}

# null-audio: ALSA's default device is the null plug-in, so the sound driver starts and plays into nothing
# (the control device only needs a definition, else ALSA fills the log with complaints). no-audio: ALSA
# names a card that does not exist and OSS, the library's other driver here, a missing file.
e2e_make_home() {
  E2E_HOME=$E2E_WORK/home
  rm -rf "$E2E_HOME" && mkdir "$E2E_HOME"
  case "${1:?null-audio or no-audio}" in
    null-audio) printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$E2E_HOME/.asoundrc" ;;
    no-audio)
      printf 'pcm.!default { type hw card 31 }\nctl.!default { type hw card 31 }\n' >"$E2E_HOME/.asoundrc"
      printf '[sound]\noss_driver = /nonexistent/dsp\n' >"$E2E_HOME/.allegrorc" ;;
  esac
}

# usage: e2e_start NAME BUILD_DIR [SCREEN]  e2e_init, a display and a home with the null sound device.
e2e_start() { e2e_init "$1" "$2" && e2e_start_xvfb "${3:-}" && e2e_make_home null-audio; }
# The game runs from a scratch copy of its folder, which the test may change.
e2e_copy_game() {
  mkdir "$E2E_WORK/game" && cp -a "$E2E_GAME_DIR/." "$E2E_WORK/game/" && E2E_GAME_DIR=$E2E_WORK/game
}

# usage: e2e_start_game [VAR=value...]  (the game runs from its own folder, or as E2E_GAME_EXE from
# E2E_START_DIR when those are set, with E2E_GAME_ARGS)
e2e_launch_game() {
  (cd "${E2E_START_DIR:-$E2E_GAME_DIR}" &&
    exec env -u GLIMMERFALL_DATA HOME="$E2E_HOME" PATH="$E2E_WORK/bin:$PATH" DISPLAY="$DISPLAY" "$@" \
      "${E2E_GAME_EXE:-./glimmerfall}" "${E2E_GAME_ARGS[@]}") \
    >>"$E2E_ARTIFACTS/game.log" 2>&1 &
  E2E_GAME_PID=$!
  e2e_log "game started (pid $E2E_GAME_PID)"
}
e2e_game_up_or_gone() { xwininfo -root -children 2>/dev/null | grep -q '"glimmerfall"' || e2e_game_gone; }
# Now and then, on a loaded machine, the library cannot reach the display at all and the game stops at its
# first step ("Failed to initialize allegro library", before any window): such a start is made once more.
e2e_start_game() {
  [ -n "$E2E_HOME" ] || e2e_make_home null-audio
  e2e_launch_game "$@"
  e2e_retry 50 0.1 e2e_game_up_or_gone
  if e2e_game_gone && tail -n 2 "$E2E_ARTIFACTS/game.log" | grep -q "^ERROR:  Failed to initialize allegro library"; then
    wait "$E2E_GAME_PID" 2>/dev/null
    e2e_log "the library could not start (no display reached): starting the game again"
    e2e_launch_game "$@"
  fi
}
e2e_game_running() { [ -n "$E2E_GAME_PID" ] && kill -0 "$E2E_GAME_PID" 2>/dev/null; }
e2e_game_gone() { ! e2e_game_running; }

# usage: e2e_expect_exit STATUS SECONDS WHAT  the game started ends within SECONDS with STATUS
e2e_expect_exit() {
  local status
  e2e_retry $(($2 * 10 + 1)) 0.1 e2e_game_gone || e2e_fail "$3: the game did not end within $2 s"
  wait "$E2E_GAME_PID" 2>/dev/null
  status=$?
  E2E_GAME_PID=""
  [ "$status" = "$1" ] || e2e_fail "$3: status $status, not $1"
}
# usage: e2e_escape_to_exit WHAT  ESC held until the game ends with status 0
e2e_escape_to_exit() {
  e2e_key_down Escape
  e2e_expect_exit 0 10 "$1"
  e2e_key_up Escape
}
# usage: e2e_run STATUS ARGS...  the game in its folder (or as E2E_GAME_EXE from E2E_START_DIR), given ARGS,
# runs to its end with STATUS; its stdout is in E2E_WORK/out, its stderr in E2E_WORK/err.
e2e_run() {
  local status=0
  (cd "${E2E_START_DIR:-$E2E_GAME_DIR}" && HOME=${E2E_HOME:-$E2E_WORK} PATH="$E2E_WORK/bin:$PATH" timeout 120 \
    "${E2E_GAME_EXE:-./glimmerfall}" "${@:2}") >"$E2E_WORK/out" 2>"$E2E_WORK/err" || status=$?
  [ "$status" = "$1" ] || e2e_fail "${*:2}: status $status, not $1; said: $(cat "$E2E_WORK/err")"
}
# usage: e2e_expect_refused STATUS LINE ARGS...  the game ends before graphics with STATUS and one line on
# stderr that matches the pattern LINE: nothing on stdout, no message box, no window.
e2e_expect_refused() {
  e2e_run "$1" "${@:3}"
  [[ $(cat "$E2E_WORK/err") == $2 && $(wc -l <"$E2E_WORK/err") = 1 ]] || e2e_fail "${*:3}: said: $(cat "$E2E_WORK/err")"
  [ ! -s "$E2E_WORK/out" ] && [ "$(e2e_message_count)" = 0 ] && [ "$(xwininfo -root -children | grep -c glimmerfall)" = 0 ] ||
    e2e_fail "${*:3}: output, a message or a window"
}

# usage: e2e_cpu_share SECONDS  prints the per cent of one core the game used over that time
e2e_cpu_share() {
  local before after
  before=$(awk '{ print $14 + $15 }' "/proc/$E2E_GAME_PID/stat")
  sleep "${1:?seconds}"
  after=$(awk '{ print $14 + $15 }' "/proc/$E2E_GAME_PID/stat")
  echo $(((after - before) * 100 / ($(getconf CLK_TCK) * $1)))
}

# The player's screenshots as the game names them, oldest first.
e2e_shots() { find "$E2E_HOME/.local/share/glimmerfall/screenshots" -name 'glimmerfall-*.png' 2>/dev/null | sort; }
e2e_shots_are() { [ "$(e2e_shots | wc -l)" = "$1" ]; }
# usage: e2e_f12_saves COUNT  after F12 the player has COUNT screenshots, the last a 640x480 PNG
e2e_f12_saves() {
  e2e_key F12
  e2e_retry 50 0.1 e2e_shots_are "$1" || e2e_fail "$(e2e_shots | wc -l) screenshots, not $1"
  [ "$(identify -format '%m %wx%h' "$(e2e_shots | tail -1)")" = "PNG 640x480" ] || e2e_fail "not a 640x480 PNG"
}
# Key names as xdotool has them: Down, Return, Escape.
e2e_key_down() { xdotool keydown "${1:?key}"; sleep "$E2E_KEY_HOLD"; }
e2e_key_up() { xdotool keyup "${1:?key}"; sleep "$E2E_KEY_HOLD"; }
e2e_key() { e2e_key_down "$1"; e2e_key_up "$1"; }
e2e_key_hold() { e2e_key_down "$1" && sleep "$2" && e2e_key_up "$1"; }
# usage: e2e_screenshot NAME  saves ARTIFACTS/NAME.png and prints its path.
e2e_screenshot() {
  xwd -root -silent -display "$DISPLAY" | "$E2E_CONVERT" xwd:- "$E2E_ARTIFACTS/${1:?name}.png"
  echo "$E2E_ARTIFACTS/$1.png"
}
# usage: e2e_box_has_color FILE X Y W H RRGGBB  true when a pixel of the box has that colour: per pixel
# the largest channel difference from it, and the smallest of those is 0.
e2e_box_has_color() {
  [ "$("$E2E_CONVERT" "${1:?file}" -crop "${4:?w}x${5:?h}+${2:?x}+${3:?y}" +repage -alpha off \
    \( +clone -fill "#${6:?RRGGBB}" -colorize 100 \) -compose difference -composite \
    -separate -evaluate-sequence max -threshold 0 -format '%[fx:minima]' info:)" = 0 ]
}

# usage: e2e_wait_for_color X Y W H RRGGBB SECONDS [SHOT]  polls screenshots until the box has the colour.
e2e_shot_has_color() { e2e_box_has_color "$(e2e_screenshot "$1")" "${@:2}"; }
e2e_wait_for_color() { e2e_retry $(($6 * 4)) 0.25 e2e_shot_has_color "${7:-waiting}" "$1" "$2" "$3" "$4" "$5"; }
e2e_message_count() { grep -c '^--$' "$E2E_MESSAGES"; }

# Checks of the menus: every entry starts at x 250, at y 230, 240 and 250.
SHELL_TEXT_X=250 SHELL_RED=C80000 SHELL_WHITE=FFFFFF SHELL_GREEN=00FF00
# True when the 8 x 8 cell at (x, y) of SHOT has ink of colour WANT and none of OTHER.
shell_cell_is() { e2e_box_has_color "$1" "$2" "$3" 8 8 "$4" && ! e2e_box_has_color "$1" "$2" "$3" 8 8 "$5"; }
# usage: shell_expect_highlight SHOT WANT ROWS...  waits until the entry at row WANT is red, then checks a
# settled frame: WANT red, every other row of ROWS white (the menu tests compare the texts pixel for pixel).
shell_expect_highlight() {
  local shot=$1 want=$2 y file colour other
  e2e_wait_for_color "$SHELL_TEXT_X" "$want" 8 8 "$SHELL_RED" 5 "$shot" || e2e_fail "$shot: no red entry at y $want"
  sleep 0.3 && file=$(e2e_screenshot "$shot")
  for y in "${@:3}"; do
    colour=$SHELL_WHITE other=$SHELL_RED
    [ "$y" = "$want" ] && colour=$SHELL_RED other=$SHELL_WHITE
    shell_cell_is "$file" "$SHELL_TEXT_X" "$y" "$colour" "$other" || e2e_fail "$shot: entry at y $y not #$colour"
  done
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

# Checks of a level in play: the panel, asset pixels on the screen, the way into a map from the main menu.

LEVEL_BOX_FILL=C80000
LEVEL_PANEL_TOP=380 # the panel picture covers the frame from this row down

# usage: level_asset_colour ASSET X Y  prints that pixel's colour as RRGGBB
level_asset_colour() { "$E2E_CONVERT" "$E2E_GAME_DIR/$1" -format "%[hex:p{$2,$3}]" info:; }

# usage: level_shows SHOT ASSET AX AY X Y  true when the 3 x 3 pixels around
# (X, Y) hold the colour of the asset's pixel (AX, AY)
level_shows() {
  e2e_box_has_color "$1" $(($5 - 1)) $(($6 - 1)) 3 3 "$(level_asset_colour "$2" "$3" "$4")"
}

# The four read-out boxes (red fill, dark red top and left edges), the face and the panel picture (what the
# read-outs say is the scene tests' and the FPS check's).
level_expect_panel() {
  local shot=$1 name box
  name=$(basename "$shot")
  for box in "118 450 188 470" "280 425 360 438" "280 455 360 468" "450 450 510 470"; do
    set -- $box
    e2e_box_has_color "$shot" $(($1 + 1)) $(($2 + 1)) $(($3 - $1)) $(($4 - $2)) "$LEVEL_BOX_FILL" ||
      e2e_fail "$name: no read-out box at $1,$2"
    e2e_box_has_color "$shot" "$1" $(($2 + 1)) 1 $(($4 - $2)) 8B0000 || e2e_fail "$name: no dark edge at $1,$2"
  done
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
  level_wait_for_play "entering_$1"
}
# usage: level_wait_for_play SHOT  until the panel's first read-out box shows
level_wait_for_play() { e2e_wait_for_color 119 451 69 19 "$LEVEL_BOX_FILL" 10 "$1" || e2e_fail "$1: no level panel"; }

level_expect_one_message() {
  [ "$(e2e_message_count)" = 1 ] && [ "$(head -1 "$E2E_MESSAGES")" = "$1" ] ||
    e2e_fail "not the one message \"$1\": $(tr '\n' '|' <"$E2E_MESSAGES")"
}
level_expect_no_messages() {
  [ "$(e2e_message_count)" = 0 ] || e2e_fail "${1:-}: the game showed messages: $(tr '\n' ' ' <"$E2E_MESSAGES")"
}

# usage: level_text_at SHOT X Y TEXT RRGGBB  true when TEXT, drawn in the library's font, is the ink of
# colour RRGGBB in SHOT from (X, Y) on, pixel for pixel (the text tool is E2E_TEXT_TOOL). A white text lies
# on black to the row's end; another colour is followed by a cell without it, the box's fill not compared.
level_text_at() {
  local w=$((640 - $2)) ink=()
  "$E2E_TEXT_TOOL" "$4" "$E2E_WORK/text.bmp" || e2e_fail "cannot render \"$4\""
  if [ "$5" != FFFFFF ]; then
    w=$(((${#4} + 1) * 8))
    ink=(-fill white -opaque "#$5" -fill black +opaque white)
  fi
  [ "$("$E2E_CONVERT" "$1" -crop "${w}x8+$2+$3" +repage -alpha off "${ink[@]}" \
    \( "$E2E_WORK/text.bmp" -alpha off -background black -extent "${w}x8" \) -compose difference -composite \
    -separate -evaluate-sequence max -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:)" = 0 ]
}

# Checks of an installed game: what an install prefix holds, and the game started from a folder that has
# nothing to do with it.
INSTALL_DATA=share/games/glimmerfall
INSTALL_ICON_SIZES="48 64 128 256"

# usage: install_expected_files [game|maptools]  the files an install puts below its prefix for that
# component (both when none is named), one a line.
install_expected_files() {
  local component=${1:-both} size
  if [ "$component" != maptools ]; then
    printf "$INSTALL_DATA/%s\n" Cart.bmp turret.bmp Gun.bmp orb.bmp alien.bmp dome.bmp gui.bmp face.bmp \
      level1.fmp test.fmp Mystery.ogg Airship.ogg glimmerfall.cfg
    for size in $INSTALL_ICON_SIZES; do echo "share/icons/hicolor/${size}x$size/apps/glimmerfall.png"; done
    printf '%s\n' games/glimmerfall share/applications/glimmerfall.desktop \
      share/metainfo/org.glimmerfall.glimmerfall.metainfo.xml share/man/man6/glimmerfall.6.gz \
      share/doc/glimmerfall/copyright share/doc/glimmerfall/changelog.Debian.gz share/lintian/overrides/glimmerfall
  fi
  if [ "$component" != game ]; then
    printf '%s\n' bin/fmpinfo bin/fmptiled share/man/man1/fmpinfo.1.gz share/man/man1/fmptiled.1.gz share/doc/glimmerfall-maptools/copyright \
      share/doc/glimmerfall-maptools/changelog.Debian.gz share/lintian/overrides/glimmerfall-maptools
  fi
}

# usage: install_check_prefix PREFIX  the files, nothing else; icons of their size; the desktop entry's icon
# and the metainfo's desktop entry are the installed ones (the entry's program is lintian's to check).
install_check_prefix() {
  local prefix=$1 size icon
  diff <(install_expected_files | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) \
    || e2e_fail "$prefix: the installed files differ from the list (< missing, > unexpected)"
  for size in $INSTALL_ICON_SIZES; do
    file "$prefix/share/icons/hicolor/${size}x$size/apps/glimmerfall.png" | grep -q "PNG image data, $size x $size," \
      || e2e_fail "the ${size}x$size icon is not a $size x $size PNG"
  done
  icon=$(sed -n 's/^Icon=//p' "$prefix/share/applications/glimmerfall.desktop")
  [ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || e2e_fail "the desktop entry's Icon $icon is not installed"
  grep -q '<launchable type="desktop-id">glimmerfall.desktop</launchable>' \
    "$prefix/share/metainfo/org.glimmerfall.glimmerfall.metainfo.xml" || e2e_fail "the metainfo names another desktop entry"
  e2e_log "$prefix holds the expected files"
}

# usage: install_play SHOT EXE [VAR=value...]  starts EXE from a fresh folder that holds nothing (or from
# INSTALL_START_DIR); the menu must appear without a message (its music was found) and ESC end the game
# with status 0.
install_play() {
  local shot=$1
  E2E_GAME_EXE=$2 E2E_START_DIR=${INSTALL_START_DIR:-$(mktemp -d "$E2E_WORK/elsewhere-XXXXXX")}
  e2e_start_game "${@:3}"
  shell_wait_for_menu "$shot"
  level_expect_no_messages "$shot (its files were not found?)"
  e2e_escape_to_exit "$shot"
  unset E2E_GAME_EXE E2E_START_DIR
}
