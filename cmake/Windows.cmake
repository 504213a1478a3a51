# The Windows build. A deliverable imports the MEX functions by name from
# libmx.dll (mx*) and libmex.dll (mex*), as it does in the platform's host.
# Our host is one DLL, zevk_host.dll; libmx.dll and libmex.dll are thin DLLs
# whose exports forward to it, so a deliverable and the host's programs share
# one set of MEX functions and one call in progress.
if(CMAKE_VERSION VERSION_LESS 3.24)
  message(FATAL_ERROR "The Windows build needs CMake 3.24 or later")
endif()

# Programs and the host's DLLs in one folder: Windows looks there first for a
# program's DLLs, and so for the libmx.dll and libmex.dll of a deliverable
# the program loads.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})

# The host's side uses the compiler's C++ runtime DLLs; a deliverable needs
# none of them.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${found}" AND EXISTS "${found}")
    file(COPY "${found}" DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  endif()
endforeach()

# The header-only packages of the build machine, seen through a folder that
# holds their headers alone: their own package files would put /usr/include,
# the build machine's C library, on this compiler's path.
set(ZEVK_SHARED_HEADERS ${CMAKE_BINARY_DIR}/shared-headers)
file(MAKE_DIRECTORY ${ZEVK_SHARED_HEADERS})
function(zevk_header_only_package package target headers)
  find_file(version_file NAMES ${package}ConfigVersion.cmake ${package}-config-version.cmake
            PATHS /usr/share/cmake/${package} /usr/lib/cmake/${package}
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH NO_CACHE)
  if(NOT version_file OR NOT EXISTS /usr/include/${headers})
    return()
  endif()
  file(CREATE_LINK /usr/include/${headers} ${ZEVK_SHARED_HEADERS}/${headers} SYMBOLIC)
  string(TOLOWER ${package} lower)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${ZEVK_SHARED_HEADERS})\n"
       "endif()\n")
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config-version.cmake "include(${version_file})\n")
endfunction()
zevk_header_only_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann)
zevk_header_only_package(CLI11 CLI11::CLI11 CLI)

# The MEX functions are those glue/mex.h declares: mx* in libmx.dll, mex* in
# libmex.dll.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/glue/mex.h)
file(READ ${PROJECT_SOURCE_DIR}/glue/mex.h mex_header)
string(REGEX MATCHALL "ZEVK_MEX_IMPORT[^(;]*[ *](mx|mex)[A-Za-z0-9_]+\\(" declarations "${mex_header}")
set(ZEVK_MX_FUNCTIONS "")
set(ZEVK_MEX_FUNCTIONS "")
foreach(declaration ${declarations})
  string(REGEX MATCH "(mx|mex)[A-Za-z0-9_]+\\($" name "${declaration}")
  string(REPLACE "(" "" name "${name}")
  if(name MATCHES "^mex")
    list(APPEND ZEVK_MEX_FUNCTIONS ${name})
  else()
    list(APPEND ZEVK_MX_FUNCTIONS ${name})
  endif()
endforeach()
if(NOT ZEVK_MX_FUNCTIONS OR NOT ZEVK_MEX_FUNCTIONS)
  message(FATAL_ERROR "no MEX functions found in glue/mex.h")
endif()

set(ZEVK_MEX_API_DIR ${CMAKE_BINARY_DIR}/mexapi)

# Import libraries for the deliverables, made from export lists as the
# platform's own are: every function imported by name.
foreach(lib mx mex)
  string(TOUPPER ${lib} upper)
  list(JOIN ZEVK_${upper}_FUNCTIONS "\n  " names)
  file(CONFIGURE OUTPUT ${ZEVK_MEX_API_DIR}/lib${lib}.def
       CONTENT "LIBRARY lib${lib}.dll\nEXPORTS\n  ${names}\n")
  add_custom_command(OUTPUT ${ZEVK_MEX_API_DIR}/lib${lib}.a
    COMMAND ${CMAKE_DLLTOOL} --input-def ${ZEVK_MEX_API_DIR}/lib${lib}.def --output-lib ${ZEVK_MEX_API_DIR}/lib${lib}.a
    DEPENDS ${ZEVK_MEX_API_DIR}/lib${lib}.def VERBATIM)
endforeach()
add_custom_target(zevk_mex_import_libraries DEPENDS ${ZEVK_MEX_API_DIR}/libmx.a ${ZEVK_MEX_API_DIR}/libmex.a)

# Linking of one deliverable: the two import libraries, the compiler's
# support code taken in statically.
function(zevk_windows_deliverable name)
  add_dependencies(${name} zevk_mex_import_libraries)
  target_link_libraries(${name} PRIVATE ${ZEVK_MEX_API_DIR}/libmx.a ${ZEVK_MEX_API_DIR}/libmex.a)
  target_link_options(${name} PRIVATE -static-libgcc)
endfunction()

# libmx.dll and libmex.dll for HOST, a DLL target that defines every MEX
# function; anything linking HOST gets them built beside it.
function(zevk_add_mex_forwarders host)
  set_target_properties(${host} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  target_compile_definitions(${host} PRIVATE ZEVK_MEX_PROVIDER)
  foreach(lib mx mex)
    string(TOUPPER ${lib} upper)
    set(lines "")
    foreach(name ${ZEVK_${upper}_FUNCTIONS})
      string(APPEND lines "  ${name} = ${host}.${name}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${ZEVK_MEX_API_DIR}/lib${lib}_forward.def
         CONTENT "LIBRARY lib${lib}.dll\nEXPORTS\n${lines}")
    add_library(zevk_lib${lib} SHARED ${ZEVK_MEX_API_DIR}/lib${lib}_forward.def)
    set_target_properties(zevk_lib${lib} PROPERTIES PREFIX "" OUTPUT_NAME lib${lib} LINKER_LANGUAGE C)
    target_link_options(zevk_lib${lib} PRIVATE -static-libgcc)
    add_dependencies(${host} zevk_lib${lib})
  endforeach()
endfunction()
