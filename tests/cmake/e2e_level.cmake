# End-to-end tests of playing a level: the real game under Xvfb. They share
# the X server numbers and the machine's time with the other e2e tests.
foreach(map level1 test)
  add_test(NAME e2e_level_play_${map}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/level_play.sh ${CMAKE_BINARY_DIR} ${map})
  set_tests_properties(e2e_level_play_${map} PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
endforeach()
add_test(NAME e2e_level_missing_map
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/level_missing_map.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_level_missing_map PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
