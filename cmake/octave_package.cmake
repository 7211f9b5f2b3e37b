# The Octave package: velk_add_octave_package() adds the target
# octave_package, which writes <build>/velk-<version>.tar.gz for
# `pkg install`. The package's src/Makefile builds the modules of
# modules.def, from the same sources with the same
# per-library flags, because both are read here from the targets: each
# module, and the project's static libraries it links, directly or through
# others. A library added to a module's links is in the package with no
# further step.
#
# What the Makefile cannot take from this machine (paths of Octave's or of
# an external library's headers and libraries) it asks for on the machine
# that installs: mkoctfile for Octave, pkg-config for libraries imported
# with pkg_check_modules(... IMPORTED_TARGET GLOBAL), the compiler's own
# search paths for the others. An imported target names the Debian package
# that provides it (target property VELK_DEBIAN_PACKAGE, required of those
# pkg-config finds); the package's DESCRIPTION lists those as BuildRequires.

set(_velk_package_dir ${CMAKE_CURRENT_LIST_DIR}/octave_package)

# Visits ITEM, a link item of a module, depth first. Records in global
# properties (a function returns nothing else through its recursion) the
# project's static libraries in the order a linker wants them (each before
# the libraries it needs), and the external link flags, pkg-config modules
# and Debian packages met on the way.
function(_velk_visit_link_item item)
  get_property(visited GLOBAL PROPERTY _VELK_VISITED)
  if("${item}" IN_LIST visited)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY _VELK_VISITED "${item}")

  if(item MATCHES "^::@")
    # Marks links added from another folder than the target's.
    return()
  elseif(TARGET ${item})
    get_target_property(_imported ${item} IMPORTED)
    get_target_property(_type ${item} TYPE)
    if(_imported)
      _velk_visit_imported(${item})
      return()
    elseif(_type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(_links ${item} INTERFACE_LINK_LIBRARIES)
    elseif(_type MATCHES "^(STATIC|MODULE)_LIBRARY$")
      get_target_property(_links ${item} LINK_LIBRARIES)
    else()
      message(FATAL_ERROR "octave_package: cannot put the ${_type} ${item} into the package")
    endif()
    # Each library goes in front of the list once its own links are in, so
    # that it comes before them; taking the links last to first keeps them
    # in the order they were given, as CMake's own link line does.
    if(_links)
      list(REVERSE _links)
    endif()
    foreach(_link IN LISTS _links)
      if(_link)
        _velk_visit_link_item("${_link}")
      endif()
    endforeach()
    if(_type STREQUAL "STATIC_LIBRARY")
      get_property(_order GLOBAL PROPERTY _VELK_LIBRARIES)
      set_property(GLOBAL PROPERTY _VELK_LIBRARIES ${item} ${_order})
    endif()
  elseif(item MATCHES "\\$<")
    message(FATAL_ERROR "octave_package: cannot follow the link item '${item}'")
  elseif(item MATCHES "::")
    message(FATAL_ERROR "octave_package: the imported target ${item} is not visible in the top "
                        "folder: import it with GLOBAL (find_package, pkg_check_modules)")
  elseif(item MATCHES "^-")
    set_property(GLOBAL APPEND PROPERTY _VELK_LINK_FLAGS "${item}")
  elseif(item MATCHES "^(.*/)?lib([^/]+)\\.(so|a)(\\.[0-9.]+)?$")
    set_property(GLOBAL APPEND PROPERTY _VELK_LINK_FLAGS "-l${CMAKE_MATCH_2}")
  else()
    set_property(GLOBAL APPEND PROPERTY _VELK_LINK_FLAGS "-l${item}")
  endif()
endfunction()

function(_velk_visit_imported target)
  get_target_property(_debian ${target} VELK_DEBIAN_PACKAGE)
  if(_debian)
    set_property(GLOBAL APPEND PROPERTY _VELK_DEBIAN_PACKAGES "${_debian}")
  endif()
  if(target MATCHES "^PkgConfig::(.+)$")
    set(_module "${${CMAKE_MATCH_1}_MODULE_NAME}")
    if(NOT _module)
      message(FATAL_ERROR "octave_package: ${target} must come from a pkg_check_modules call for "
                          "one module")
    endif()
    # The package's users install its development files before pkg install
    # can build: DESCRIPTION must name them.
    if(NOT _debian)
      message(FATAL_ERROR "octave_package: ${target} names no Debian package for the package's "
                          "BuildRequires: set_target_properties(${target} PROPERTIES "
                          "VELK_DEBIAN_PACKAGE <package>) where it is found")
    endif()
    set_property(GLOBAL APPEND PROPERTY _VELK_PKG_CONFIG "${_module}")
    return()
  endif()
  get_target_property(_type ${target} TYPE)
  if(NOT _type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(_location ${target} IMPORTED_LOCATION)
    get_target_property(_configurations ${target} IMPORTED_CONFIGURATIONS)
    if(NOT _location AND _configurations)
      list(GET _configurations 0 _configuration)
      if(RELEASE IN_LIST _configurations)
        set(_configuration RELEASE)
      endif()
      get_target_property(_location ${target} IMPORTED_LOCATION_${_configuration})
    endif()
    if(_location)
      _velk_visit_link_item("${_location}")
    endif()
  endif()
  get_target_property(_links ${target} INTERFACE_LINK_LIBRARIES)
  foreach(_link IN LISTS _links)
    if(_link)
      _velk_visit_link_item("${_link}")
    endif()
  endforeach()
endfunction()

# The lines of the manifest that describe TARGET's own sources and the
# flags its sources are compiled with, evaluated by CMake at generate time.
function(_velk_manifest_compile target out)
  get_target_property(_sources ${target} SOURCES)
  get_target_property(_dir ${target} SOURCE_DIR)
  set(_absolute "")
  foreach(_source IN LISTS _sources)
    if(_source MATCHES "\\$<")
      message(FATAL_ERROR "octave_package: cannot follow the source '${_source}' of ${target}")
    endif()
    get_filename_component(_source "${_source}" ABSOLUTE BASE_DIR "${_dir}")
    list(APPEND _absolute "${_source}")
  endforeach()
  set(_SOURCES "${_absolute}")
  set(_INCLUDES "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>")
  set(_DEFINITIONS "$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>")
  set(_OPTIONS "$<TARGET_PROPERTY:${target},COMPILE_OPTIONS>")
  set(_STANDARD "$<TARGET_PROPERTY:${target},CXX_STANDARD>")
  set(_EXTENSIONS "$<BOOL:$<TARGET_PROPERTY:${target},CXX_EXTENSIONS>>")
  set(_lines "")
  foreach(_field IN ITEMS SOURCES INCLUDES DEFINITIONS OPTIONS STANDARD EXTENSIONS)
    string(APPEND _lines "set(${target}_${_field} [==[${_${_field}}]==])\n")
  endforeach()
  set(${out} "${_lines}" PARENT_SCOPE)
endfunction()

# velk_add_octave_package(): call once every module is declared.
function(velk_add_octave_package)
  set(_modules ${VELK_MODULE_NAMES})
  set(_manifest "set(VELK_MODULES ${_modules})\n")
  set(_all_libraries "")
  set(_all_pkg_config "")
  set(_all_debian "")
  foreach(_module IN LISTS _modules)
    foreach(_property IN ITEMS _VELK_VISITED _VELK_LIBRARIES _VELK_LINK_FLAGS _VELK_PKG_CONFIG
                               _VELK_DEBIAN_PACKAGES)
      set_property(GLOBAL PROPERTY ${_property} "")
    endforeach()
    _velk_visit_link_item(${_module})
    get_property(_libraries GLOBAL PROPERTY _VELK_LIBRARIES)
    get_property(_link_flags GLOBAL PROPERTY _VELK_LINK_FLAGS)
    get_property(_pkg_config GLOBAL PROPERTY _VELK_PKG_CONFIG)
    get_property(_debian GLOBAL PROPERTY _VELK_DEBIAN_PACKAGES)
    list(APPEND _all_libraries ${_libraries})
    list(APPEND _all_pkg_config ${_pkg_config})
    list(APPEND _all_debian ${_debian})

    get_target_property(_help ${_module} VELK_HELP_FILE)
    get_target_property(_category ${_module} VELK_CATEGORY)
    _velk_manifest_compile(${_module} _lines)
    string(APPEND _manifest "${_lines}"
      "set(${_module}_LIBRARIES ${_libraries})\n"
      "set(${_module}_LINK_FLAGS [==[${_link_flags}]==])\n"
      "set(${_module}_PKG_CONFIG ${_pkg_config})\n"
      "set(${_module}_LINK_OPTIONS [==[$<TARGET_PROPERTY:${_module},LINK_OPTIONS>]==])\n"
      "set(${_module}_HELP [==[${_help}]==])\n"
      "set(${_module}_CATEGORY [==[${_category}]==])\n")
  endforeach()
  list(REMOVE_DUPLICATES _all_libraries)
  list(REMOVE_DUPLICATES _all_pkg_config)
  list(REMOVE_DUPLICATES _all_debian)
  foreach(_library IN LISTS _all_libraries)
    _velk_manifest_compile(${_library} _lines)
    string(APPEND _manifest "${_lines}")
  endforeach()

  # The package is built as this project's release build is.
  string(STRIP "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE}" _release_flags)
  list(TRANSFORM VELK_OCTAVE_FUNCTIONS PREPEND ${PROJECT_SOURCE_DIR}/octave/ OUTPUT_VARIABLE _functions)
  list(TRANSFORM _functions APPEND .m)
  string(APPEND _manifest
    "set(VELK_OCTAVE_FUNCTIONS ${_functions})\n"
    "set(VELK_LIBRARIES ${_all_libraries})\n"
    "set(VELK_PKG_CONFIG ${_all_pkg_config})\n"
    "set(VELK_DEBIAN_PACKAGES ${_all_debian})\n"
    "set(VELK_RELEASE_FLAGS [==[${_release_flags}]==])\n")
  set(_manifest_file ${CMAKE_BINARY_DIR}/octave_package/targets.cmake)
  file(GENERATE OUTPUT ${_manifest_file} CONTENT "${_manifest}")

  set(_tarball ${CMAKE_BINARY_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}.tar.gz)
  add_custom_target(octave_package
    COMMAND ${CMAKE_COMMAND}
            -DMANIFEST=${_manifest_file}
            -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DTEMPLATE_DIR=${_velk_package_dir}
            -DWORK_DIR=${CMAKE_BINARY_DIR}/octave_package
            -DTARBALL=${_tarball}
            -DNAME=${PROJECT_NAME}
            -DVERSION=${PROJECT_VERSION}
            -DCXX=${CMAKE_CXX_COMPILER}
            -P ${_velk_package_dir}/write_package.cmake
    BYPRODUCTS ${_tarball}
    COMMENT "Writing the Octave package ${PROJECT_NAME}-${PROJECT_VERSION}.tar.gz"
    VERBATIM)
endfunction()
