# The generator refuses sources with a mistake and names the file and line:
# a formula text that does not spell its intervals, a wrong chord-type count,
# and a hand-picked shape no hand can hold.
function(expect_refusal name file from to message)
  set(dir ${WORK}/${name})
  file(REMOVE_RECURSE ${dir})
  file(COPY ${SRC}/ DESTINATION ${dir})
  file(READ ${dir}/${file} text)
  string(FIND "${text}" "${from}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name}: '${from}' not found in ${file}")
  endif()
  string(REPLACE "${from}" "${to}" text "${text}")
  file(WRITE ${dir}/${file} "${text}")
  file(MAKE_DIRECTORY ${dir}/out)
  execute_process(COMMAND ${GEN} generate ${dir} ${dir}/out RESULT_VARIABLE rc
                  ERROR_VARIABLE err OUTPUT_QUIET)
  if(rc EQUAL 0)
    message(FATAL_ERROR "${name}: the generator accepted the broken ${file}")
  endif()
  string(FIND "${err}" "${message}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "${name}: expected '${message}' in: ${err}")
  endif()
  file(GLOB written ${dir}/out/*.dat)
  if(written)
    message(FATAL_ERROR "${name}: files written despite the error: ${written}")
  endif()
  file(REMOVE_RECURSE ${dir})
endfunction()

expect_refusal(formula chord_types.tsv "0 4 7 11\t1 3 5 7\n" "0 4 7 11\t1 3 5 b7\n"
               "chord_types.tsv:")
expect_refusal(count chord_types.tsv "61\tdominant\t13sus(b9)" "# 61\tdominant\t13sus(b9)"
               "expected 62 chord types")
expect_refusal(scale scales.tsv "0 2 3 7 9\t1 2 b3 5 6" "0 2 3 7 9\t1 2 3 5 6" "scales.tsv:")
expect_refusal(shape shapes.tsv "open\tC\tmaj\tx 3 2 0 1 0\tx 3 2 0 1 0"
               "open\tC\tmaj\tx 3 2 0 1 0\tx 1 2 0 3 0" "fingers cross")
