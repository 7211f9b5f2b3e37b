# cmake -DMEX_DIR=<folder> -DMODULES=<names> -DFUNCTIONS=<names> -P check_built.cmake
# Fails unless the modules in MEX_DIR are exactly MODULES (those of
# modules.def) and its .m files exactly their help files and the Octave
# functions FUNCTIONS.
file(GLOB _built RELATIVE ${MEX_DIR} ${MEX_DIR}/*.mex ${MEX_DIR}/*.mexa64)
file(GLOB _help RELATIVE ${MEX_DIR} ${MEX_DIR}/*.m)
set(_expected_built ${MODULES})
set(_expected_help ${MODULES} ${FUNCTIONS})
foreach(_kind IN ITEMS built help)
  set(_names "")
  foreach(_file IN LISTS _${_kind})
    get_filename_component(_name ${_file} NAME_WE)
    list(APPEND _names ${_name})
  endforeach()
  set(_unregistered ${_names})
  list(REMOVE_ITEM _unregistered ${_expected_${_kind}})
  set(_missing ${_expected_${_kind}})
  if(_names)
    list(REMOVE_ITEM _missing ${_names})
  endif()
  if(_unregistered OR _missing)
    message(FATAL_ERROR "registry (${_kind}): in ${MEX_DIR} but not in modules.def: "
                        "${_unregistered}; in modules.def but not in ${MEX_DIR}: ${_missing}")
  endif()
endforeach()
list(LENGTH MODULES _count)
message(STATUS "registry: the ${_count} modules of modules.def are built, each with its help file")
