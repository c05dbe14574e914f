# Checks of the generated assets: the track of both shipped maps, renders
# of their views at a few cameras (kept under artifacts/maps/ to look at),
# and fmpinfo --tracks refusing a map whose track leads nowhere.
set(ASSET_ARTIFACTS ${CMAKE_BINARY_DIR}/artifacts/maps)
file(MAKE_DIRECTORY ${ASSET_ARTIFACTS})
set(ASSET_CHECK_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/data/fmpinfo/run_and_compare.cmake)

function(asset_check name args exit_status expected_stdout)
  add_test(NAME assets_${name}
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:fmpinfo> "-DARGS=${args}" -DEXPECT_EXIT=${exit_status}
      "-DEXPECT_STDOUT=${expected_stdout}" -P ${ASSET_CHECK_SCRIPT})
  set_tests_properties(assets_${name} PROPERTIES LABELS tool)
endfunction()

asset_check(tracks_level1 "--tracks ${GAME_DIR}/level1.fmp" 0 "every way out leads to a way back")
asset_check(tracks_test "--tracks ${GAME_DIR}/test.fmp" 0 "every way out leads to a way back")
asset_check(tracks_fault_lines "--tracks ${CMAKE_CURRENT_SOURCE_DIR}/data/fmpinfo/tiny.fmp" 1
  "cell (0, 1) opens up but (0, 0) does not open down")

# Corners, the start cells and the domes of each map; the camera is clamped
# into the map, so the far corner is asked for with a camera past it.
foreach(view
    "level1;origin;0 0" "level1;dome;100 0" "level1;river;700 400" "level1;far_corner;9999 9999"
    "test;origin;0 0" "test;dome;400 300" "test;far_corner;9999 9999")
  list(GET view 0 map)
  list(GET view 1 label)
  list(GET view 2 camera)
  asset_check(render_${map}_${label}
    "--render ${GAME_DIR}/${map}.fmp ${ASSET_ARTIFACTS}/${map}_${label}.bmp --camera ${camera}" 0 "written to")
endforeach()
