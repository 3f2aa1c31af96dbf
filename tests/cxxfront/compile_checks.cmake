# Driver of the cxxfront_compile test (see CMakeLists.txt beside it).
foreach(std 17 20)
  execute_process(COMMAND ${CXX} -std=c++${std} -Wall -Wextra -Wpedantic -Werror -fsyntax-only
                          -I${INCLUDE} ${DIR}/compiles.cxx
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lumex.hpp does not compile cleanly as C++${std}:\n${err}")
  endif()
endforeach()
execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only -I${INCLUDE} ${DIR}/rejects_untagged.cxx
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "a call with an untagged argument type compiled")
endif()
string(FIND "${err}" "has no parameter tag" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the untagged argument failed for another reason:\n${err}")
endif()
