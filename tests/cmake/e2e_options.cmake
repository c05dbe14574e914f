# The player's settings on the real game under Xvfb: the shipped config, --map, --no-music,
# F12, a bad option; and a 2x window on a large screen, closed with its close button.
add_test(NAME e2e_options_play
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/options_play.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:game_text_reference>)
set_tests_properties(e2e_options_play PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 300)

find_package(X11 REQUIRED)
add_executable(close_window ${CMAKE_SOURCE_DIR}/tests/e2e/close_window.cpp)
target_link_libraries(close_window PRIVATE X11::X11)
add_test(NAME e2e_options_window
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/options_window.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:close_window>)
set_tests_properties(e2e_options_window PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 240)

# Today's desktop under a real window manager: full screen at the desktop's size, fit, Alt+Enter, pause.
add_test(NAME e2e_options_desktop COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/options_desktop.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_options_desktop PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 240)
