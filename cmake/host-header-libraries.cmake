# The header-only libraries of the build host (nlohmann/json, CLI11) for a
# cross build, whose target system has no packages of its own: seen through
# a folder of their own, so that no other header of the host is.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
foreach(entry "nlohmann_json;nlohmann/json.hpp;nlohmann" "CLI11;CLI/CLI.hpp;CLI")
  list(GET entry 0 name)
  list(GET entry 1 header)
  list(GET entry 2 folder)
  find_path(TAVILO_HOST_${name} ${header} PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(CREATE_LINK ${TAVILO_HOST_${name}}/${folder} ${host_headers}/${folder} SYMBOLIC)
  if(NOT TARGET ${name}::${name})
    add_library(${name}::${name} INTERFACE IMPORTED)
    target_include_directories(${name}::${name} SYSTEM INTERFACE ${host_headers})
  endif()
endforeach()
