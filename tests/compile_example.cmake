# Compiles one example model with the zevk tool as a user would and checks
# the exit status: 0 for a clean model, 1 for the model with mistakes.
execute_process(COMMAND ${ZEVK} --blocks ${BLOCKS} compile ${MODEL}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT status STREQUAL EXPECTED)
  message(FATAL_ERROR "zevk compile ${MODEL} exited with ${status}, expected ${EXPECTED}")
endif()
