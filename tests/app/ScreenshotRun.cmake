# Runs `strumbo --screenshot` from a program folder of its own whose "Px.ini"
# cannot be replaced (a FIFO: the tests run as root, so permissions stop
# nothing), once with a settings file that can be written, for comparison.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/ok ${WORK}/fails)

function(run_in dir out_rc out_err)
  file(COPY ${STRUMBO} DESTINATION ${dir})
  get_filename_component(exe ${STRUMBO} NAME)
  execute_process(COMMAND ${dir}/${exe} --screenshot ${dir}/shot.png
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET TIMEOUT 40)
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_err} "${err}" PARENT_SCOPE)
endfunction()

run_in(${WORK}/ok rc err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/ok/shot.png OR NOT EXISTS ${WORK}/ok/Px.ini)
  message(FATAL_ERROR "a plain screenshot run failed (${rc}): ${err}")
endif()

execute_process(COMMAND mkfifo ${WORK}/fails/Px.ini RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "mkfifo failed")
endif()
run_in(${WORK}/fails rc err)
if(rc EQUAL 0 OR NOT rc MATCHES "^[0-9]+$")
  message(FATAL_ERROR "exit status '${rc}' does not report the failed settings write: ${err}")
endif()
if(NOT err MATCHES "Unable to write to ${WORK}/fails/Px.ini")
  message(FATAL_ERROR "no message on standard error: ${err}")
endif()
if(NOT EXISTS ${WORK}/fails/shot.png)
  message(FATAL_ERROR "the screenshot itself was not written")
endif()
file(REMOVE_RECURSE ${WORK})
