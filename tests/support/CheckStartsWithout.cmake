# Fails when PROGRAM has a library whose file name matches LIBRARY (a regular
# expression) among the libraries the dynamic loader maps before its main():
# its own needed libraries and theirs, as ldd lists them. Such a library is
# meant to be loaded only when it is first used.
if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "${PROGRAM} was not built")
endif()
execute_process(COMMAND ldd "${PROGRAM}" OUTPUT_VARIABLE linked RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "[^\n\t ]+" words "${linked}")
list(FILTER words INCLUDE REGEX "^(${LIBRARY})")
if(words)
  list(JOIN words ", " words)
  message(FATAL_ERROR "${PROGRAM} loads ${words} when it starts")
endif()
message(STATUS "${PROGRAM} starts without ${LIBRARY}")
