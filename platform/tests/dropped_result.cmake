# Compiles dropped_result.cpp as the builds compile (warnings are errors):
# with the error code kept it builds, with it dropped it must not.
#   cmake -DCOMPILER=... -DSOURCE=... -DINCLUDE=... -P dropped_result.cmake
foreach(variant kept dropped)
  set(defines)
  if(variant STREQUAL dropped)
    set(defines -DPP_DROP_RESULT)
  endif()
  execute_process(
    COMMAND ${COMPILER} -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I${INCLUDE} ${defines} ${SOURCE}
    RESULT_VARIABLE status ERROR_VARIABLE said OUTPUT_QUIET)
  if(variant STREQUAL kept AND NOT status EQUAL 0)
    message(FATAL_ERROR "the caller that keeps the code does not build:\n${said}")
  endif()
  if(variant STREQUAL dropped)
    if(status EQUAL 0)
      message(FATAL_ERROR "a dropped error code builds")
    endif()
    if(NOT said MATCHES "unused-result")
      message(FATAL_ERROR "the dropped code fails for another reason:\n${said}")
    endif()
  endif()
endforeach()
message(STATUS "a dropped error code does not build; a kept one does")
