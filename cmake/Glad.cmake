# The OpenGL 3.3 core loader is generated at configure time by Debian's python3-glad.
set(GLAD_OUT ${CMAKE_BINARY_DIR}/glad)
if(NOT EXISTS ${GLAD_OUT}/src/gl.c)
  execute_process(
    COMMAND /usr/bin/python3 -m glad --api gl:core=3.3 --out-path ${GLAD_OUT} --reproducible --quiet c
    RESULT_VARIABLE GLAD_RESULT
    OUTPUT_QUIET ERROR_VARIABLE GLAD_ERROR)
  if(NOT GLAD_RESULT EQUAL 0)
    message(FATAL_ERROR "glad failed to generate the OpenGL loader: ${GLAD_ERROR}")
  endif()
endif()
add_library(glad_gl STATIC ${GLAD_OUT}/src/gl.c)
target_include_directories(glad_gl SYSTEM PUBLIC ${GLAD_OUT}/include)
set_target_properties(glad_gl PROPERTIES POSITION_INDEPENDENT_CODE ON)
