# Runs one fuzzer for three seconds from its seeds; new inputs go to a work
# folder of the build, never into the committed corpus.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${FUZZER} ${WORK} ${SEEDS} -max_total_time=3 -print_final_stats=1
                        -artifact_prefix=${WORK}/
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a failing input (kept in ${WORK})")
endif()
