# Which Windows build the tests run under Wine: this one where Wine runs 32-bit
# programs; where the kernel runs none (Wine then runs only 64-bit ones), an
# x86_64 build of the same sources, made once here as an external project.
# Sets KELP_TWIN_DIR (empty when this build runs) and defines kelp_test_program.
set(KELP_TWIN_DIR "")
if(NOT KELP_TWIN)
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh --can-run-32
                  RESULT_VARIABLE kelp_can_run_32 OUTPUT_QUIET ERROR_QUIET)
  if(NOT kelp_can_run_32 EQUAL 0)
    find_program(KELP_MINGW64_CXX x86_64-w64-mingw32-g++-posix)
    if(NOT KELP_MINGW64_CXX)
      message(WARNING "Wine runs no 32-bit programs here and x86_64-w64-mingw32-g++-posix is missing: "
                      "the Windows tests cannot run (install g++-mingw-w64-x86-64-posix)")
    endif()
    include(ExternalProject)
    set(KELP_TWIN_DIR ${CMAKE_BINARY_DIR}/x86_64)
    set(twin_depends)
    if(HOST_ZARC_TARGET)
      set(twin_depends DEPENDS ${HOST_ZARC_TARGET})
    endif()
    ExternalProject_Add(kelp_x86_64
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${KELP_TWIN_DIR}
      CMAKE_GENERATOR ${CMAKE_GENERATOR}
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake
                 -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DKELP_TWIN=ON -DKELP_HOST_ZARC=${HOST_ZARC}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      ${twin_depends})
  endif()
endif()

# kelp_test_program(VAR TARGET): where TARGET's program lies in the build the
# tests run. Both trees come from the same lists, so the relative place is the same.
function(kelp_test_program var target)
  if(NOT KELP_TWIN_DIR)
    set(${var} $<TARGET_FILE:${target}> PARENT_SCOPE)
    return()
  endif()
  get_target_property(dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT dir)
    get_target_property(dir ${target} BINARY_DIR)
  endif()
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  file(RELATIVE_PATH rel ${CMAKE_BINARY_DIR} ${dir})
  set(${var} ${KELP_TWIN_DIR}/${rel}/${name}${CMAKE_EXECUTABLE_SUFFIX} PARENT_SCOPE)
endfunction()
