# Runs the built program with one option and keeps what it prints:
# cmake -DPROGRAM=... -DOPTION=... -DOUTPUT=... -P print_to_file.cmake
execute_process(COMMAND "${PROGRAM}" "${OPTION}" OUTPUT_FILE "${OUTPUT}.part" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "${PROGRAM} ${OPTION} failed: ${status}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
