# fmpinfo on the shipped maps: the track check (also on a map whose track is
# broken, to see it fail) and views at a few cameras kept in artifacts/maps/.
set(ASSET_ARTIFACTS ${CMAKE_BINARY_DIR}/artifacts/maps)
file(MAKE_DIRECTORY ${ASSET_ARTIFACTS})

function(asset_check name args exit_status expected_stdout)
  add_test(NAME assets_${name}
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:fmpinfo> "-DARGS=${args}" -DEXPECT_EXIT=${exit_status}
      "-DEXPECT_STDOUT=${expected_stdout}" -P ${CMAKE_CURRENT_SOURCE_DIR}/data/fmpinfo/run_and_compare.cmake)
  set_tests_properties(assets_${name} PROPERTIES LABELS tool)
endfunction()

foreach(map level1 test)
  asset_check(tracks_${map} "--tracks ${GAME_DIR}/${map}.fmp" 0 "every way out leads to a way back")
  # The origin, around the domes, and the far corner (a camera past it is clamped).
  foreach(camera "0 0" "400 300" "9999 9999")
    string(REPLACE " " "_" label "${camera}")
    asset_check(render_${map}_${label}
      "--render ${GAME_DIR}/${map}.fmp ${ASSET_ARTIFACTS}/${map}_${label}.bmp --camera ${camera}" 0 "written to")
  endforeach()
endforeach()
asset_check(tracks_fault_lines "--tracks ${CMAKE_CURRENT_SOURCE_DIR}/data/fmpinfo/tiny.fmp" 1
  "cell (0, 1) opens up but (0, 0) does not open down")
asset_check(tracks_layers_differ "--tracks ${CMAKE_CURRENT_SOURCE_DIR}/data/fmpinfo/layers.fmp" 1
  "cell (1, 0) has ways 0x5 in layer 0 but 0xC in layer 1")
