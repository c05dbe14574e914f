# fmptiled against Tiled itself: round trips, renders, Tiled's own encodings, the refusals.
add_test(NAME tool_tiled_maps COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/tiled_maps.sh ${CMAKE_BINARY_DIR})
set_tests_properties(tool_tiled_maps PROPERTIES LABELS tool TIMEOUT 300)
