# End-to-end tests of the whole game on the real binary under Xvfb: orbs,
# monsters, the game-over page and the help page. The text pages are
# checked against lines rendered with the library's font by a small tool.
add_executable(game_text_reference ${CMAKE_SOURCE_DIR}/tests/e2e/game_text_reference.cpp)
target_link_libraries(game_text_reference PRIVATE glim_base)

foreach(script fire_and_game_over help_page)
  add_test(NAME e2e_game_${script}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/game_${script}.sh ${CMAKE_BINARY_DIR}
      $<TARGET_FILE:game_text_reference>)
  set_tests_properties(e2e_game_${script} PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 300)
endforeach()
