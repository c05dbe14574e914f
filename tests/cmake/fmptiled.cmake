# fmptiled against Tiled itself: round trips, renders, Tiled's own encodings, the refusals.
add_test(NAME tool_tiled_maps COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/tiled_maps.sh ${CMAKE_BINARY_DIR})
set_tests_properties(tool_tiled_maps PROPERTIES LABELS tool TIMEOUT 300)
# The level's demo test imports a map made in Tiled and plays it.
add_dependencies(level_demo_test fmptiled)
