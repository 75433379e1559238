# Compiles dropped_result.cpp as the builds compile (FLAGS: their standard
# and warning options, warnings as errors): with the error code kept it
# builds, with it dropped it must not. Writes a GoogleTest-style report
# (REPORT) of its one case, as the test programs do.
#   cmake -DCOMPILER=... -DFLAGS=... -DSOURCE=... -DINCLUDE=... -DREPORT=... -P dropped_result.cmake
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
set(problem)
foreach(variant kept dropped)
  set(defines)
  if(variant STREQUAL dropped)
    set(defines -DPP_DROP_RESULT)
  endif()
  execute_process(
    COMMAND ${COMPILER} ${flags} -fsyntax-only -I${INCLUDE} ${defines} ${SOURCE}
    RESULT_VARIABLE status ERROR_VARIABLE said OUTPUT_QUIET)
  if(variant STREQUAL kept AND NOT status EQUAL 0)
    set(problem "the caller that keeps the code does not build:\n${said}")
  elseif(variant STREQUAL dropped AND NOT problem)
    if(status EQUAL 0)
      set(problem "a dropped error code builds")
    elseif(NOT said MATCHES "unused-result")
      set(problem "the dropped code fails for another reason:\n${said}")
    endif()
  endif()
endforeach()
set(failures 0)
set(failure)
if(problem)
  set(failures 1)
  string(REPLACE "\"" "'" quoted "${problem}")
  string(REPLACE "<" "(" quoted "${quoted}")
  string(REPLACE ">" ")" quoted "${quoted}")
  set(failure "<failure message=\"${quoted}\"/>")
endif()
file(WRITE "${REPORT}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<testsuites tests=\"1\" failures=\"${failures}\" disabled=\"0\" errors=\"0\" name=\"AllTests\">
  <testsuite name=\"DroppedErrorCode\" tests=\"1\" failures=\"${failures}\" disabled=\"0\" errors=\"0\">
    <testcase name=\"DoesNotBuild\" status=\"run\" result=\"completed\" classname=\"DroppedErrorCode\">${failure}</testcase>
  </testsuite>
</testsuites>
")
if(problem)
  message(FATAL_ERROR "${problem}")
endif()
message(STATUS "a dropped error code does not build; a kept one does")
