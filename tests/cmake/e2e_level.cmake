# Playing both maps and choosing a missing one: the real game under Xvfb.
add_test(NAME e2e_level_play COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/level_play.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_level_play PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
