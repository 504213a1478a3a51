# A deliverable is one MEX file per block: the glue, the engine where the
# block uses it, and the block's own source, exporting mexFunction alone and
# needing nothing at load time beyond the C runtime and its host.

# Code that goes into deliverables: no C++ runtime, no exceptions, unwind
# tables kept so that a host may unwind through it on a MEX error.
set(ZEVK_DELIVERABLE_FLAGS -fno-exceptions -fno-rtti -fno-threadsafe-statics -fasynchronous-unwind-tables
    -fvisibility=hidden -fvisibility-inlines-hidden)
if(ZEVK_SANITIZE)
  list(APPEND ZEVK_DELIVERABLE_FLAGS -fno-sanitize=vptr)
endif()

if(WIN32 AND ZEVK_BUILD_32)
  set(ZEVK_MEX_SUFFIX ".mexw32")
elseif(WIN32)
  set(ZEVK_MEX_SUFFIX ".mexw64")
elseif(ZEVK_BUILD_32)
  set(ZEVK_MEX_SUFFIX ".mexglx")
else()
  set(ZEVK_MEX_SUFFIX ".mexa64")
endif()

set(ZEVK_ALL_BLOCKS "" CACHE INTERNAL "")

function(zevk_add_block NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    set(ARG_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${NAME}.cpp)
  endif()
  add_library(${NAME} MODULE ${ARG_SOURCES})
  target_compile_options(${NAME} PRIVATE ${ZEVK_DELIVERABLE_FLAGS})
  target_include_directories(${NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${NAME} PRIVATE ${ARG_LIBS} zevk_glue)
  set_target_properties(${NAME} PROPERTIES
    PREFIX ""
    SUFFIX "${ZEVK_MEX_SUFFIX}"
    LIBRARY_OUTPUT_DIRECTORY "${ZEVK_MEX_DIR}"
    LINKER_LANGUAGE C)
  if(WIN32)
    zevk_windows_deliverable(${NAME})
  else()
    # --as-needed: the C linker still gets the C++ runtime libraries CMake
    # adds for C++ objects, and only some compilers drop unused ones by
    # default (Debian's gcc does, clang does not).
    target_link_options(${NAME} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/glue/exports.map
                        -Wl,--as-needed)
    # GNU Octave looks for the .mex suffix: the same file under that name.
    add_custom_command(TARGET ${NAME} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E create_symlink ${NAME}${ZEVK_MEX_SUFFIX} ${ZEVK_MEX_DIR}/${NAME}.mex
      VERBATIM)
  endif()
  set(ZEVK_ALL_BLOCKS ${ZEVK_ALL_BLOCKS} ${NAME} CACHE INTERNAL "")
endfunction()
