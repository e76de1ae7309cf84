# Runs `teluri analyze --pictures` on the sample archive and compares its
# output byte for byte with the frozen tree.
#   cmake -DTELURI=<program> -DSAMPLE=<folder> -DEXPECTED=<file> -DOUTPUT=<file> -P <this>
execute_process(
    COMMAND "${TELURI}" analyze --pictures "${SAMPLE}/"
    OUTPUT_FILE "${OUTPUT}"
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "teluri analyze failed (${status}): ${errors}")
endif()
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${EXPECTED}"
    RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED}")
endif()
