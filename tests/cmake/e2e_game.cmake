# The whole game under Xvfb, both maps and a missing one; a small tool renders text lines to compare its pages with.
add_executable(game_text_reference ${CMAKE_SOURCE_DIR}/tests/e2e/game_text_reference.cpp)
target_link_libraries(game_text_reference PRIVATE glim_base)
add_test(NAME e2e_game_play
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/game_play.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:game_text_reference>)
set_tests_properties(e2e_game_play PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 420)
