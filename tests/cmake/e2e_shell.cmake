# End-to-end tests of the start-up and the menus: the real game under Xvfb.
# They share the X server numbers and the machine's time, hence one at a time.
foreach(script menu_navigation credits_and_escape no_audio level_return)
  add_test(NAME e2e_shell_${script}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/shell_${script}.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_shell_${script} PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
endforeach()
