# The payload is packed at build time by a zarc that runs on the build machine:
# the one given, or one built here. Sets HOST_ZARC and HOST_ZARC_TARGET.
set(KELP_HOST_ZARC "" CACHE FILEPATH "Native zarc used to pack the payload (built here when empty)")
if(KELP_HOST_ZARC)
  set(HOST_ZARC ${KELP_HOST_ZARC})
  set(HOST_ZARC_TARGET)
else()
  include(ExternalProject)
  set(HOST_ZARC ${CMAKE_BINARY_DIR}/host-zarc/zarc)
  ExternalProject_Add(host_zarc
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-zarc
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKELP_TESTS=OFF -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target zarc
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${HOST_ZARC})
  set(HOST_ZARC_TARGET host_zarc)
endif()
