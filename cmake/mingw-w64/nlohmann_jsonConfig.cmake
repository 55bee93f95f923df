# nlohmann-json for the MinGW-w64 build: Debian's headers, seen through a
# folder that holds only them (the cross compiler must not see the host's
# /usr/include as a whole).
set(_nlohmann_headers ${CMAKE_BINARY_DIR}/host-headers)
if(NOT EXISTS ${_nlohmann_headers}/nlohmann)
  file(MAKE_DIRECTORY ${_nlohmann_headers})
  file(CREATE_LINK /usr/include/nlohmann ${_nlohmann_headers}/nlohmann SYMBOLIC)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_nlohmann_headers})
endif()
