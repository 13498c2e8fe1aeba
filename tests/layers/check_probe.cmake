# Builds one layer probe and checks the outcome: with EXPECT=REFUSED the
# build must fail because HEADER cannot be found; with EXPECT=ACCEPTED it
# must succeed. The compiler speaks English here, whatever the session's locale.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE=C
    ${CMAKE_COMMAND} --build ${BUILD} --target ${TARGET}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(EXPECT STREQUAL "ACCEPTED")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TARGET}: ${HEADER} should be reachable:\n${output}")
  endif()
elseif(result EQUAL 0)
  message(FATAL_ERROR "${TARGET}: ${HEADER} is reachable from a layer below it")
elseif(NOT output MATCHES "${HEADER}: No such file or directory")
  message(FATAL_ERROR "${TARGET}: failed for another reason than the missing header:\n${output}")
endif()
