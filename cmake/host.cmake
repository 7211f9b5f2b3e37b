# The host the modules are built for.
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
  set(VELK_HOST_INTERRUPT_SOURCE ${CMAKE_SOURCE_DIR}/mex/host_interrupt_octave.cc)
elseif(VELK_HOST STREQUAL "matlab")
  find_package(Matlab REQUIRED COMPONENTS MX_LIBRARY)
  add_library(velk_host_api INTERFACE)
  target_include_directories(velk_host_api SYSTEM INTERFACE ${Matlab_INCLUDE_DIRS})
  target_link_libraries(velk_host_api INTERFACE ${Matlab_MEX_LIBRARY} ${Matlab_MX_LIBRARY})
  target_compile_definitions(velk_host_api INTERFACE VELK_HOST_MATLAB MATLAB_DEFAULT_RELEASE=R2017b)
  # MATLAB delivers Ctrl-C to the handler the module installs.
  set(VELK_HOST_INTERRUPT_SOURCE ${CMAKE_SOURCE_DIR}/mex/host_interrupt_signal.cc)
elseif(NOT VELK_HOST STREQUAL "none")
  message(FATAL_ERROR "VELK_HOST must be octave, matlab or none, not '${VELK_HOST}'")
endif()
