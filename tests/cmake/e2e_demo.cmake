# Recording a run by keyboard and playing it back, paced and timed: the real game under Xvfb.
add_test(NAME e2e_demo_play COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/demo_play.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_demo_play PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
