# The host the modules are built for, and velk_add_module() to declare one.
#
#   VELK_HOST=octave (default): finds Octave through mkoctfile and builds
#     <build>/mex/<name>.mex, which Octave loads after addpath('<build>/mex').
#   VELK_HOST=matlab: finds MATLAB with CMake's FindMatlab and builds the
#     platform's MEX files (<name>.mexa64 on Linux) in the same folder.
#   VELK_HOST=none: builds the host-free kernels and gateways alone, for a
#     host that is not a MEX host (the Python package) on a machine that has
#     neither Octave nor MATLAB.

set(VELK_HOST "octave" CACHE STRING "Host the modules are built for: octave, matlab or none")
set_property(CACHE VELK_HOST PROPERTY STRINGS octave matlab none)
set(VELK_MEX_DIR "${CMAKE_BINARY_DIR}/mex")

if(VELK_HOST STREQUAL "octave")
  find_program(MKOCTFILE mkoctfile REQUIRED)
  execute_process(COMMAND ${MKOCTFILE} -p INCFLAGS
                  OUTPUT_VARIABLE _incflags OUTPUT_STRIP_TRAILING_WHITESPACE
                  COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(_incflags UNIX_COMMAND "${_incflags}")
  set(_octave_includes "")
  foreach(_flag IN LISTS _incflags)
    string(REGEX REPLACE "^-I" "" _dir "${_flag}")
    list(APPEND _octave_includes "${_dir}")
  endforeach()
  find_program(OCTAVE_CLI octave-cli REQUIRED)
  add_library(velk_host_api INTERFACE)
  target_include_directories(velk_host_api SYSTEM INTERFACE ${_octave_includes})
  target_compile_definitions(velk_host_api INTERFACE VELK_HOST_OCTAVE)
  # Host symbols resolve when Octave loads the module, as with mkoctfile --mex.
  set(VELK_HOST_INTERRUPT_SOURCE ${CMAKE_SOURCE_DIR}/common/host_interrupt_octave.cc)
elseif(VELK_HOST STREQUAL "matlab")
  find_package(Matlab REQUIRED COMPONENTS MX_LIBRARY)
  add_library(velk_host_api INTERFACE)
  target_include_directories(velk_host_api SYSTEM INTERFACE ${Matlab_INCLUDE_DIRS})
  target_link_libraries(velk_host_api INTERFACE ${Matlab_MEX_LIBRARY} ${Matlab_MX_LIBRARY})
  target_compile_definitions(velk_host_api INTERFACE VELK_HOST_MATLAB MATLAB_DEFAULT_RELEASE=R2017b)
  # MATLAB delivers Ctrl-C to the handler the module installs.
  set(VELK_HOST_INTERRUPT_SOURCE ${CMAKE_SOURCE_DIR}/common/host_interrupt_signal.cc)
elseif(NOT VELK_HOST STREQUAL "none")
  message(FATAL_ERROR "VELK_HOST must be octave, matlab or none, not '${VELK_HOST}'")
endif()

# velk_add_module(<name> MEX <source> GATEWAY <sources>... [KERNELS <sources>...]
#                 [LINK <libraries>...])
#
# Builds the kernels as the library <name>_kernel, the gateway (the module's
# checks, result creation and kernel loop over a velk::Call) as the library
# <name>_gateway, both host-free, for the unit tests, benchmarks and every
# host; LINK names further host-free libraries the gateway needs. Then, for a
# MEX host, builds the module <name> from its MEX entry point over the gateway
# and the MEX adaptor (velk_mex), and copies the help file <name>.m beside it.
# The folder's VELK_CATEGORY names the group the module is listed under in the
# Octave package.
function(velk_add_module name)
  cmake_parse_arguments(MOD "" "MEX" "GATEWAY;KERNELS;LINK" ${ARGN})
  if(MOD_KERNELS)
    add_library(${name}_kernel STATIC ${MOD_KERNELS})
    target_include_directories(${name}_kernel PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_kernel PUBLIC velk_core)
    set(_kernel ${name}_kernel)
  else()
    set(_kernel "")
  endif()
  add_library(${name}_gateway STATIC ${MOD_GATEWAY})
  target_include_directories(${name}_gateway PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_gateway PUBLIC ${_kernel} velk_core ${MOD_LINK})
  if(VELK_HOST STREQUAL "none")
    return()
  endif()

  if(VELK_HOST STREQUAL "octave")
    add_library(${name} MODULE ${MOD_MEX})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".mex")
    target_link_options(${name} PRIVATE -Wl,-Bsymbolic)
  else()
    matlab_add_mex(NAME ${name} MODULE SRC ${MOD_MEX})
  endif()
  set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${VELK_MEX_DIR})
  target_link_libraries(${name} PRIVATE ${name}_gateway velk_mex)

  set(_help ${CMAKE_CURRENT_SOURCE_DIR}/${name}.m)
  if(EXISTS ${_help})
    # Copied again whenever it changes (CMake then runs again).
    configure_file(${_help} ${VELK_MEX_DIR}/${name}.m COPYONLY)
    set_target_properties(${name} PROPERTIES VELK_HELP_FILE ${_help})
  endif()
  if(NOT VELK_CATEGORY)
    message(FATAL_ERROR "velk_add_module(${name}): set VELK_CATEGORY in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  set_target_properties(${name} PROPERTIES VELK_CATEGORY "${VELK_CATEGORY}")
  set_property(GLOBAL APPEND PROPERTY VELK_MODULES ${name})
endfunction()
