# The start-up and the menus on the real game under Xvfb; one e2e test at a time.
add_test(NAME e2e_shell_menus COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/shell_menus.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_shell_menus PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 240)
