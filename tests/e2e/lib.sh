#!/usr/bin/env bash
# Harness for the end-to-end tests: the real game under Xvfb, driven with xdotool, watched through
# screenshots and the messages it shows. e2e_init NAME BUILD_DIR puts artefacts in BUILD_DIR/artifacts/NAME.
# Colours are RRGGBB, boxes X Y W H. allegro_message runs `xmessage` under X11: a stand-in first on PATH
# appends the text and a line "--" to ARTIFACTS/messages.txt and exits 101 as if OK had been clicked.
set -uo pipefail
E2E_NAME="" E2E_GAME_DIR="" E2E_ARTIFACTS="" E2E_WORK="" E2E_HOME="" E2E_MESSAGES=""
E2E_XVFB_PID="" E2E_GAME_PID="" E2E_EXIT_STATUS=""
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
    *) e2e_fail "unknown home kind $1" ;;
  esac
}

# usage: e2e_start_game [VAR=value...]  (the game runs from its own folder, or as E2E_GAME_EXE from
# E2E_START_DIR when those are set, with E2E_GAME_ARGS)
e2e_start_game() {
  [ -n "$E2E_HOME" ] || e2e_make_home null-audio
  (cd "${E2E_START_DIR:-$E2E_GAME_DIR}" &&
    exec env -u GLIMMERFALL_DATA HOME="$E2E_HOME" PATH="$E2E_WORK/bin:$PATH" DISPLAY="$DISPLAY" "$@" \
      "${E2E_GAME_EXE:-./glimmerfall}" "${E2E_GAME_ARGS[@]}") \
    >>"$E2E_ARTIFACTS/game.log" 2>&1 &
  E2E_GAME_PID=$!
  E2E_EXIT_STATUS=""
  e2e_log "game started (pid $E2E_GAME_PID)"
}
e2e_game_running() { [ -n "$E2E_GAME_PID" ] && kill -0 "$E2E_GAME_PID" 2>/dev/null; }
e2e_game_gone() { ! e2e_game_running; }
# True when the game ended within SECONDS; its status is in E2E_EXIT_STATUS.
e2e_wait_for_exit() {
  e2e_retry $((${1:?seconds} * 10 + 1)) 0.1 e2e_game_gone || return 1
  wait "$E2E_GAME_PID" 2>/dev/null
  E2E_EXIT_STATUS=$?
  E2E_GAME_PID=""
}

# usage: e2e_expect_refused STATUS LINE ARGS...  the game in its folder, given ARGS, ends before graphics with
# STATUS and LINE alone on stderr: nothing on stdout, no window.
e2e_expect_refused() {
  local status=0
  (cd "$E2E_GAME_DIR" && HOME=${E2E_HOME:-$E2E_WORK} PATH="$E2E_WORK/bin:$PATH" ./glimmerfall "${@:3}") \
    >"$E2E_WORK/out" 2>"$E2E_WORK/err" || status=$?
  [ "$status" = "$1" ] && [ "$(cat "$E2E_WORK/err")" = "$2" ] ||
    e2e_fail "${*:3}: status $status, not $1; said: $(cat "$E2E_WORK/err")"
  [ ! -s "$E2E_WORK/out" ] && [ "$(xwininfo -root -children | grep -c glimmerfall)" = 0 ] ||
    e2e_fail "${*:3}: output or a window"
}

# usage: e2e_cpu_share SECONDS  prints the per cent of one core the game used over that time
e2e_cpu_share() {
  local before after
  before=$(awk '{ print $14 + $15 }' "/proc/$E2E_GAME_PID/stat")
  sleep "${1:?seconds}"
  after=$(awk '{ print $14 + $15 }' "/proc/$E2E_GAME_PID/stat")
  echo $(((after - before) * 100 / ($(getconf CLK_TCK) * $1)))
}

# Key names as xdotool has them: Down, Return, Escape.
e2e_key_down() { xdotool keydown "${1:?key}"; sleep "$E2E_KEY_HOLD"; }
e2e_key_up() { xdotool keyup "${1:?key}"; sleep "$E2E_KEY_HOLD"; }
e2e_key() { e2e_key_down "$1"; e2e_key_up "$1"; }
# usage: e2e_screenshot NAME  saves ARTIFACTS/NAME.png and prints its path.
e2e_screenshot() {
  xwd -root -silent -display "$DISPLAY" | "$E2E_CONVERT" xwd:- "$E2E_ARTIFACTS/${1:?name}.png"
  echo "$E2E_ARTIFACTS/$1.png"
}
# usage: e2e_pixel FILE X Y  prints "R,G,B"
e2e_pixel() {
  "$E2E_CONVERT" "${1:?file}" -crop "1x1+${2:?x}+${3:?y}" +repage -depth 8 \
    -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
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
# The messages the game showed, in order, each followed by a line "--".
e2e_messages() { cat "$E2E_MESSAGES"; }
e2e_message_count() { grep -c '^--$' "$E2E_MESSAGES"; }
e2e_messages_shown() { [ "$(e2e_message_count)" -ge "$1" ]; }
# usage: e2e_wait_for_messages COUNT SECONDS
e2e_wait_for_messages() { e2e_retry $((${2:?seconds} * 10 + 1)) 0.1 e2e_messages_shown "${1:?count}"; }
