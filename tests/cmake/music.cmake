# The timer behind real playback needs the X11 system driver: run that program under a throw-away X
# server (displays from 190 up, clear of the end-to-end tests); labelled unit for the sanitizer pass.
find_program(XVFB_RUN xvfb-run)
find_program(XAUTH xauth)
if(XVFB_RUN AND XAUTH AND TARGET music_playback_test)
  add_test(NAME music_playback_under_xvfb
           COMMAND ${XVFB_RUN} -a -n 190 -s "-screen 0 640x480x24" $<TARGET_FILE:music_playback_test>)
  set_tests_properties(music_playback_under_xvfb PROPERTIES LABELS unit TIMEOUT 120
                       ENVIRONMENT GLIM_REQUIRE_SOUND=1)
endif()
