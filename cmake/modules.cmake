# The modules of modules.def, read once: velk_read_modules() sets
#   VELK_MODULE_NAMES                 the modules, in the file's order
#   VELK_MODULE_<name>_FOLDER         its folder
#   VELK_MODULE_<name>_PYTHON         the Python package's function that calls it
#   VELK_MODULE_<name>_CATEGORY       its group in the Octave package's index
#   VELK_MODULE_<name>_EXPORTS        its exported C names besides mexFunction
#                                     and the reporters
# and velk_add_modules() builds each one once its folder's library
# velk_<folder> (its kernels) exists:
#   <name>_gateway  a static library of <folder>/<name>_gateway.cc over
#                   velk_<folder>, host-free, for the unit tests and every host;
#   <name>          for a MEX host, the module <build>/mex/<name>.mex (or the
#                   platform's MEX suffix) from mex/mex_entry.cc over the
#                   gateway and the MEX adaptor, with its help file
#                   <folder>/<name>.m copied beside it.

function(velk_read_modules)
  set(_file ${PROJECT_SOURCE_DIR}/modules.def)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_file})
  file(STRINGS ${_file} _lines REGEX "^VELK_MODULE\\(")
  set(_names "")
  foreach(_line IN LISTS _lines)
    if(NOT _line MATCHES "^VELK_MODULE\\(([a-z0-9_]+), ([a-z0-9_]+), ([a-z0-9_]+), \"([^\"]+)\", \"([A-Za-z0-9_ ]*)\"\\)$")
      message(FATAL_ERROR "modules.def: cannot read the line\n  ${_line}")
    endif()
    set(_name ${CMAKE_MATCH_1})
    if(_name IN_LIST _names)
      message(FATAL_ERROR "modules.def: ${_name} is listed twice")
    endif()
    list(APPEND _names ${_name})
    set(VELK_MODULE_${_name}_FOLDER ${CMAKE_MATCH_2} PARENT_SCOPE)
    set(VELK_MODULE_${_name}_PYTHON ${CMAKE_MATCH_3} PARENT_SCOPE)
    set(VELK_MODULE_${_name}_CATEGORY "${CMAKE_MATCH_4}" PARENT_SCOPE)
    separate_arguments(_exports UNIX_COMMAND "${CMAKE_MATCH_5}")
    set(VELK_MODULE_${_name}_EXPORTS "${_exports}" PARENT_SCOPE)
  endforeach()
  set(VELK_MODULE_NAMES ${_names} PARENT_SCOPE)
endfunction()

function(velk_add_modules)
  foreach(_name IN LISTS VELK_MODULE_NAMES)
    set(_folder ${PROJECT_SOURCE_DIR}/${VELK_MODULE_${_name}_FOLDER})
    add_library(${_name}_gateway STATIC ${_folder}/${_name}_gateway.cc)
    target_link_libraries(${_name}_gateway PUBLIC velk_${VELK_MODULE_${_name}_FOLDER} velk_core)
    if(VELK_HOST STREQUAL "none")
      continue()
    endif()

    if(VELK_HOST STREQUAL "octave")
      add_library(${_name} MODULE ${PROJECT_SOURCE_DIR}/mex/mex_entry.cc)
      set_target_properties(${_name} PROPERTIES PREFIX "" SUFFIX ".mex")
      # Host symbols resolve when Octave loads the module, as with mkoctfile --mex.
      target_link_options(${_name} PRIVATE -Wl,-Bsymbolic)
    else()
      matlab_add_mex(NAME ${_name} MODULE SRC ${PROJECT_SOURCE_DIR}/mex/mex_entry.cc)
    endif()
    target_compile_definitions(${_name} PRIVATE VELK_GATEWAY=${_name}_gateway)
    set_target_properties(${_name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${VELK_MEX_DIR})
    target_link_libraries(${_name} PRIVATE ${_name}_gateway velk_mex)

    set(_help ${_folder}/${_name}.m)
    if(NOT EXISTS ${_help})
      message(FATAL_ERROR "modules.def lists ${_name}, which has no help file ${_help}")
    endif()
    # Copied again whenever it changes (CMake then runs again).
    configure_file(${_help} ${VELK_MEX_DIR}/${_name}.m COPYONLY)
    set_target_properties(${_name} PROPERTIES VELK_HELP_FILE ${_help}
                          VELK_CATEGORY "${VELK_MODULE_${_name}_CATEGORY}")
  endforeach()
endfunction()

# The toolbox's functions written in Octave (octave/*.m: array geometry,
# pressure, ...), copied beside the modules; VELK_OCTAVE_FUNCTIONS lists
# their names for the tests and the package.
macro(velk_copy_octave_functions)
  file(GLOB _functions CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/octave/*.m)
  set(VELK_OCTAVE_FUNCTIONS "")
  foreach(_file IN LISTS _functions)
    get_filename_component(_function ${_file} NAME_WE)
    list(APPEND VELK_OCTAVE_FUNCTIONS ${_function})
    configure_file(${_file} ${VELK_MEX_DIR}/${_function}.m COPYONLY)
  endforeach()
endmacro()
