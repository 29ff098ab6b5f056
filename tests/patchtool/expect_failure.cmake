# Runs a command that must fail: a non-zero exit, an error message matching
# MESSAGE on standard error, and no file at NO_FILE nor its temporary twin
# (NO_FILE.partial) afterwards.
#   cmake "-DCOMMAND=<program;args...>" -DMESSAGE=<regex> -DNO_FILE=<path> -P expect_failure.cmake
if(NO_FILE)
  file(REMOVE "${NO_FILE}" "${NO_FILE}.partial")
endif()
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the command succeeded; output:\n${out}")
endif()
if(NOT err MATCHES "${MESSAGE}")
  message(FATAL_ERROR "the error message does not match '${MESSAGE}':\n${err}")
endif()
if(NO_FILE AND (EXISTS "${NO_FILE}" OR EXISTS "${NO_FILE}.partial"))
  message(FATAL_ERROR "a file was left behind: ${NO_FILE}")
endif()
