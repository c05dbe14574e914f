# fmpinfo checks: the canonical dump of a hand-made map at two screen depths,
# refused files, the summary (also of files that are no FMP container), and
# the usage errors.
set(FMPINFO_DATA ${CMAKE_CURRENT_SOURCE_DIR}/data/fmpinfo)
function(fmpinfo_check name args exit_status)
  cmake_parse_arguments(CHECK "" "EXPECTED;STDOUT;STDERR" "" ${ARGN})
  add_test(NAME fmpinfo_${name} COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:fmpinfo> "-DARGS=${args}"
    -DEXPECT_EXIT=${exit_status} -DEXPECTED=${CHECK_EXPECTED} "-DEXPECT_STDOUT=${CHECK_STDOUT}"
    "-DEXPECT_STDERR=${CHECK_STDERR}" -P ${FMPINFO_DATA}/run_and_compare.cmake)
  set_tests_properties(fmpinfo_${name} PROPERTIES LABELS tool)
endfunction()

fmpinfo_check(dump_32 "--dump ${FMPINFO_DATA}/tiny.fmp" 0 EXPECTED ${FMPINFO_DATA}/tiny.dump32)
fmpinfo_check(dump_depth_16 "--dump ${FMPINFO_DATA}/tiny.fmp --depth 16" 0 EXPECTED ${FMPINFO_DATA}/tiny.dump16)
fmpinfo_check(dump_truncated "--dump ${FMPINFO_DATA}/truncated.fmp" 1 EXPECTED ${FMPINFO_DATA}/truncated.dump)
fmpinfo_check(dump_missing "--dump ${FMPINFO_DATA}/no-such-map.fmp" 1 EXPECTED ${FMPINFO_DATA}/missing.dump)
fmpinfo_check(summary "${FMPINFO_DATA}/tiny.fmp" 0 STDOUT "  ANDT 40 bytes")
fmpinfo_check(summary_refused "${FMPINFO_DATA}/truncated.fmp" 1 STDOUT "loadError: 2, ")
fmpinfo_check(summary_no_form "${FMPINFO_DATA}/noform.fmp" 1
  STDOUT "chunks: none listed, not an FMP container (no FORM)")
fmpinfo_check(summary_no_fmap "${FMPINFO_DATA}/nofmap.fmp" 1
  STDOUT "chunks: none listed, not an FMP container (no FMAP)")
fmpinfo_check(summary_neither "${FMPINFO_DATA}/neither.fmp" 1
  STDOUT "chunks: none listed, not an FMP container (no FORM and FMAP)")
fmpinfo_check(summary_truncated "${FMPINFO_DATA}/truncated.fmp" 1 STDOUT "chunks: 5 (the file ends inside the chunk list)")
fmpinfo_check(usage_no_arguments "" 2 STDERR "usage: fmpinfo")
fmpinfo_check(usage_bad_depth "--dump ${FMPINFO_DATA}/tiny.fmp --depth 12" 2 STDERR "usage: fmpinfo")
fmpinfo_check(usage_dump_without_file "--dump" 2 STDERR "usage: fmpinfo")
fmpinfo_check(usage_unknown_option "--frobnicate ${FMPINFO_DATA}/tiny.fmp" 2 STDERR "usage: fmpinfo")
