# Real playback needs the library's X11 system driver for its timer, so the
# playback test also runs under a throw-away X server; on its own (no
# DISPLAY) it skips. Labelled unit so the sanitizer pass runs it too; the
# server numbers from 190 up keep clear of the end-to-end tests' displays.
find_program(XVFB_RUN xvfb-run)
find_program(XAUTH xauth)
if(XVFB_RUN AND XAUTH AND TARGET music_playback_test)
  add_test(NAME music_playback_under_xvfb
           COMMAND ${XVFB_RUN} -a -n 190 -s "-screen 0 640x480x24" $<TARGET_FILE:music_playback_test>)
  set_tests_properties(music_playback_under_xvfb PROPERTIES LABELS unit TIMEOUT 120
                       ENVIRONMENT GLIM_REQUIRE_SOUND=1)
endif()

# The generator must write the same music bytes every time it runs.
if(TARGET assetgen)
  add_test(NAME music_generation_is_deterministic
           COMMAND sh -c "set -e; d=$(mktemp -d); trap 'rm -rf \"$d\"' EXIT; mkdir \"$d/a\" \"$d/b\"; \
\"$1\" \"$d/a\" >/dev/null; \"$1\" \"$d/b\" >/dev/null; \
for f in Mystery.ogg Airship.ogg; do cmp \"$d/a/$f\" \"$d/b/$f\"; done" sh $<TARGET_FILE:assetgen>)
  set_tests_properties(music_generation_is_deterministic PROPERTIES LABELS tools TIMEOUT 120)
endif()
