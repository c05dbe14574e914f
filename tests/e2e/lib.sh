#!/usr/bin/env bash
# Harness for the end-to-end tests: the real game under Xvfb, driven with
# xdotool, watched through screenshots and the messages it shows.
#
# Source it from a test script, then:
#   e2e_init NAME BUILD_DIR      work folder, artefacts in BUILD_DIR/artifacts/NAME,
#                                cleanup on exit (kills the game and Xvfb)
#   e2e_start_xvfb [WxHxD]       a fresh display (640x480x24 unless given), exported as DISPLAY
#   e2e_make_home null-audio     HOME with a null ALSA device (sound starts, plays nothing)
#   e2e_make_home no-audio       HOME where ALSA finds no device at all
#   e2e_start_game [VAR=value...]  starts BUILD_DIR/game/glimmerfall from its folder
#   e2e_key NAME                 press and release a key (xdotool key names: Down, Return, Escape)
#   e2e_key_down NAME / e2e_key_up NAME
#   e2e_screenshot NAME          saves ARTIFACTS/NAME.png, prints its path
#   e2e_pixel FILE X Y           prints "R,G,B"
#   e2e_box_has_color FILE X Y W H RRGGBB   true when a pixel of the box has that colour
#   e2e_box_only_color FILE X Y W H RRGGBB  true when every pixel of the box has that colour
#   e2e_wait_for_color X Y W H RRGGBB SECONDS [SHOT]  polls screenshots until it is true
#   e2e_wait_for_exit SECONDS    true when the game ended in time; status in E2E_EXIT_STATUS
#   e2e_game_running             true while the game process lives
#   e2e_messages                 every message the game showed, one per entry, in order
#   e2e_wait_for_messages COUNT SECONDS
#   e2e_fail TEXT / e2e_pass     end the test (a failure keeps a screenshot)
#
# Messages: allegro_message runs `xmessage` under X11. A stand-in first on PATH
# appends its last argument (the text) to ARTIFACTS/messages.txt, followed by a
# line "--", and exits 101 as if OK had been clicked.

set -uo pipefail

E2E_NAME=""
E2E_BUILD_DIR=""
E2E_GAME_DIR=""
E2E_ARTIFACTS=""
E2E_WORK=""
E2E_HOME=""
E2E_MESSAGES=""
E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_EXIT_STATUS=""
E2E_CONVERT=$(command -v convert-im6.q16 || command -v convert)

e2e_log() { echo "[$E2E_NAME] $*"; }

e2e_init() {
  E2E_NAME=${1:?test name}
  E2E_BUILD_DIR=$(cd "${2:?build folder}" && pwd)
  E2E_GAME_DIR=$E2E_BUILD_DIR/game
  E2E_ARTIFACTS=$E2E_BUILD_DIR/artifacts/$E2E_NAME
  rm -rf "$E2E_ARTIFACTS"
  mkdir -p "$E2E_ARTIFACTS"
  E2E_WORK=$(mktemp -d /tmp/glimmerfall-e2e-XXXXXX)
  E2E_MESSAGES=$E2E_ARTIFACTS/messages.txt
  : >"$E2E_MESSAGES"
  mkdir -p "$E2E_WORK/bin"
  cat >"$E2E_WORK/bin/xmessage" <<STANDIN
#!/bin/sh
for text; do :; done
printf '%s\n--\n' "\$text" >>"$E2E_MESSAGES"
exit 101
STANDIN
  chmod +x "$E2E_WORK/bin/xmessage"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  if [ ! -x "$E2E_GAME_DIR/glimmerfall" ]; then
    e2e_fail "no game at $E2E_GAME_DIR/glimmerfall"
  fi
}

e2e_cleanup() {
  if [ -n "$E2E_GAME_PID" ] && kill -0 "$E2E_GAME_PID" 2>/dev/null; then
    kill "$E2E_GAME_PID" 2>/dev/null
    sleep 0.2
    kill -9 "$E2E_GAME_PID" 2>/dev/null
  fi
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  if [ -n "$E2E_WORK" ]; then
    rm -rf "$E2E_WORK"
  fi
}

e2e_fail() {
  e2e_log "FAIL: $*"
  if [ -n "${DISPLAY:-}" ] && [ -n "$E2E_XVFB_PID" ]; then
    e2e_screenshot failure >/dev/null 2>&1
  fi
  if [ -s "$E2E_MESSAGES" ]; then
    e2e_log "messages shown:"
    sed 's/^/    /' "$E2E_MESSAGES"
  fi
  exit 1
}

e2e_pass() {
  e2e_log "passed"
  exit 0
}

# Picks the first display from 100 up that has no lock file and whose server
# comes up; several test scripts may be starting servers at the same time.
e2e_start_xvfb() {
  local geometry=${1:-640x480x24} display
  for display in $(seq 100 199); do
    [ -e "/tmp/.X${display}-lock" ] && continue
    Xvfb ":$display" -screen 0 "$geometry" -nolisten tcp >"$E2E_WORK/xvfb-$display.log" 2>&1 &
    E2E_XVFB_PID=$!
    local tries
    for tries in $(seq 1 100); do
      if ! kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
        break
      fi
      if xdpyinfo -display ":$display" >/dev/null 2>&1; then
        export DISPLAY=":$display"
        e2e_log "Xvfb on $DISPLAY"
        return 0
      fi
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=""
  done
  e2e_fail "could not start Xvfb"
}

# null-audio: ALSA's default device is the null plug-in, so the sound driver
# starts and everything it plays goes nowhere. The mixer's control device
# only needs a definition: without one ALSA fills the game's log with
# complaints, though the driver starts all the same.
# no-audio: ALSA's default device names a card that does not exist and OSS
# looks for a device file that does not exist, so no digital driver starts.
e2e_make_home() {
  local kind=${1:?null-audio or no-audio}
  E2E_HOME=$E2E_WORK/home
  rm -rf "$E2E_HOME"
  mkdir -p "$E2E_HOME"
  case "$kind" in
    null-audio)
      cat >"$E2E_HOME/.asoundrc" <<'ALSA'
pcm.!default { type null }
ctl.!default { type hw card 0 }
ALSA
      ;;
    no-audio)
      cat >"$E2E_HOME/.asoundrc" <<'ALSA'
pcm.!default { type hw card 31 }
ctl.!default { type hw card 31 }
ALSA
      # OSS is the library's other built-in driver: point it at no device,
      # in case the machine has OSS emulation (Debian ships no ESD, aRts or
      # JACK modules of the library).
      cat >"$E2E_HOME/.allegrorc" <<'CONFIG'
[sound]
oss_driver = /nonexistent/dsp
CONFIG
      ;;
    *) e2e_fail "unknown home kind $kind" ;;
  esac
}

e2e_start_game() {
  [ -n "$E2E_HOME" ] || e2e_make_home null-audio
  (
    cd "$E2E_GAME_DIR" &&
      exec env HOME="$E2E_HOME" PATH="$E2E_WORK/bin:$PATH" DISPLAY="$DISPLAY" "$@" ./glimmerfall
  ) >"$E2E_ARTIFACTS/game.log" 2>&1 &
  E2E_GAME_PID=$!
  E2E_EXIT_STATUS=""
  e2e_log "game started (pid $E2E_GAME_PID)"
}

e2e_game_running() {
  [ -n "$E2E_GAME_PID" ] && kill -0 "$E2E_GAME_PID" 2>/dev/null
}

e2e_wait_for_exit() {
  local seconds=${1:?seconds} waited=0
  while e2e_game_running; do
    if [ "$waited" -ge $((seconds * 10)) ]; then
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  wait "$E2E_GAME_PID" 2>/dev/null
  E2E_EXIT_STATUS=$?
  E2E_GAME_PID=""
  return 0
}

# Key presses are held long enough for the game's background keyboard
# handling to see both edges.
E2E_KEY_HOLD=${E2E_KEY_HOLD:-0.15}

e2e_key_down() { xdotool keydown "${1:?key}"; sleep "$E2E_KEY_HOLD"; }
e2e_key_up() { xdotool keyup "${1:?key}"; sleep "$E2E_KEY_HOLD"; }
e2e_key() {
  e2e_key_down "$1"
  e2e_key_up "$1"
}

e2e_screenshot() {
  local file=$E2E_ARTIFACTS/${1:?name}.png
  xwd -root -silent -display "$DISPLAY" | "$E2E_CONVERT" xwd:- "$file"
  echo "$file"
}

e2e_pixel() {
  "$E2E_CONVERT" "${1:?file}" -crop "1x1+${2:?x}+${3:?y}" +repage -depth 8 \
    -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

e2e_box_has_color() {
  local file=${1:?file} x=${2:?x} y=${3:?y} w=${4:?w} h=${5:?h} hex=${6:?RRGGBB} nearest
  # Per pixel the largest channel difference from the colour; the box holds
  # the colour exactly when the smallest of those is 0.
  nearest=$("$E2E_CONVERT" "$file" -crop "${w}x${h}+${x}+${y}" +repage -alpha off \
    \( +clone -fill "#${hex}" -colorize 100 \) -compose difference -composite \
    -separate -evaluate-sequence max -threshold 0 -format '%[fx:minima]' info:)
  [ "$nearest" = 0 ]
}

e2e_box_only_color() {
  local file=${1:?file} x=${2:?x} y=${3:?y} w=${4:?w} h=${5:?h} hex=${6:?RRGGBB} farthest
  farthest=$("$E2E_CONVERT" "$file" -crop "${w}x${h}+${x}+${y}" +repage -alpha off \
    \( +clone -fill "#${hex}" -colorize 100 \) -compose difference -composite \
    -separate -evaluate-sequence max -threshold 0 -format '%[fx:maxima]' info:)
  [ "$farthest" = 0 ]
}

e2e_wait_for_color() {
  local x=$1 y=$2 w=$3 h=$4 hex=$5 seconds=$6 shot=${7:-waiting} waited=0 file
  while [ "$waited" -lt $((seconds * 4)) ]; do
    file=$(e2e_screenshot "$shot")
    if e2e_box_has_color "$file" "$x" "$y" "$w" "$h" "$hex"; then
      return 0
    fi
    sleep 0.25
    waited=$((waited + 1))
  done
  return 1
}

e2e_messages() { cat "$E2E_MESSAGES"; }

e2e_message_count() { grep -c '^--$' "$E2E_MESSAGES"; }

e2e_wait_for_messages() {
  local count=${1:?count} seconds=${2:?seconds} waited=0
  while [ "$(e2e_message_count)" -lt "$count" ]; do
    if [ "$waited" -ge $((seconds * 10)) ]; then
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
}
