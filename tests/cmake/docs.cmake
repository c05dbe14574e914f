# The README and the manual page keep up with the options the game knows.
add_test(NAME docs_options_documented
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/docs/options_documented.sh $<TARGET_FILE:glimmerfall>
    ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/packaging/glimmerfall.6)
set_tests_properties(docs_options_documented PROPERTIES LABELS tool)
