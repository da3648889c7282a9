# host_tool(NAME SOURCES...): builds a small program for the build machine and
# sets ${NAME}_COMMAND to the way to run it. When cross-compiling the host's own
# C++ compiler builds it; on a native build it is an ordinary target.
if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED)
endif()

function(host_tool name)
  set(sources ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    set(out ${CMAKE_BINARY_DIR}/host/${name})
    set(abs)
    foreach(s IN LISTS sources)
      list(APPEND abs ${CMAKE_SOURCE_DIR}/${s})
    endforeach()
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
      COMMAND ${HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Werror -I${CMAKE_SOURCE_DIR} ${abs} -o ${out}
      DEPENDS ${abs}
      COMMENT "Building host tool ${name}")
    add_custom_target(${name}_host DEPENDS ${out})
    set(${name}_COMMAND ${out} PARENT_SCOPE)
    set(${name}_DEPENDS ${out} ${name}_host PARENT_SCOPE)
  else()
    list(TRANSFORM sources PREPEND ${CMAKE_SOURCE_DIR}/)
    add_executable(${name} ${sources})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    set(${name}_COMMAND $<TARGET_FILE:${name}> PARENT_SCOPE)
    set(${name}_DEPENDS ${name} PARENT_SCOPE)
  endif()
endfunction()
