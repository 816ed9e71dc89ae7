# Prints the project's warning flags on one line, for the type check: cmake -P this-file
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/WarningFlags.cmake)
execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${LUMORA_WARNING_FLAGS})
