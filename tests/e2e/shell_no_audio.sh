#!/usr/bin/env bash
# With no audio device at all the sound driver cannot start: the game shows
# the fallback message and the library's reason, goes on without sound and
# its menu follows.
source "$(dirname "$0")/shell_common.sh"
e2e_init shell_no_audio "${1:?build folder}"
e2e_start_xvfb
e2e_make_home no-audio
e2e_start_game
e2e_wait_for_messages 2 10 || e2e_fail "the two sound messages were not shown"

first=$(awk 'BEGIN { RS = "--\n" } NR == 1' "$E2E_MESSAGES")
second=$(awk 'BEGIN { RS = "--\n" } NR == 2' "$E2E_MESSAGES")
[ "$first" = "ERROR:  Failure to install sound.  Attempting to run without sound." ] ||
  e2e_fail "first message was: $first"
case "$second" in
  "REPORT:  "?*) e2e_log "report: $second" ;;
  *) e2e_fail "second message was: $second" ;;
esac
grep -q "Failed to install sound.  Terminating" "$E2E_MESSAGES" && e2e_fail "the silent fallback failed too"

shell_wait_for_menu menu_without_sound
e2e_key Escape
shell_expect_exit_zero 5
e2e_pass
