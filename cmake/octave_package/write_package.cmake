# Writes the Octave package TARBALL (NAME-VERSION.tar.gz) from MANIFEST,
# the description of the modules' targets that octave_package.cmake has
# CMake generate. Run by the target octave_package:
#
#   cmake -DMANIFEST=<file> -DSOURCE_DIR=<dir> -DTEMPLATE_DIR=<dir> -DWORK_DIR=<dir>
#         -DTARBALL=<file> -DNAME=<name> -DVERSION=<x.y.z> -DCXX=<compiler>
#         -P write_package.cmake
#
# The package holds DESCRIPTION, INDEX and COPYING, under src/ the modules'
# sources, the headers they include, their help files and a Makefile that
# builds them with mkoctfile, and under inst/ the functions written in Octave.


include(${MANIFEST})
set(package_dir ${WORK_DIR}/${NAME}-${VERSION})
file(REMOVE_RECURSE ${package_dir})
file(MAKE_DIRECTORY ${package_dir}/src)

# The path of FILE inside the source tree, which is its path in src/.
function(path_in_package file out)
  file(RELATIVE_PATH _relative ${SOURCE_DIR} ${file})
  if(_relative MATCHES "^\\.\\./")
    message(FATAL_ERROR "octave_package: ${file} lies outside ${SOURCE_DIR}")
  endif()
  set(${out} "${_relative}" PARENT_SCOPE)
endfunction()

function(copy_into_package file)
  path_in_package(${file} _relative)
  get_filename_component(_dir ${package_dir}/src/${_relative} DIRECTORY)
  file(COPY ${file} DESTINATION ${_dir})
endfunction()

# TARGET's compile flags: for the Makefile, with the project's include
# folders relative to src/ (searched before Octave's, which holds headers
# of the same names as ours); and for this machine, to find the headers.
function(compile_flags target out_package out_here)
  set(_package ${VELK_RELEASE_FLAGS})
  separate_arguments(_package UNIX_COMMAND "${_package}")
  set(_here "")
  if(${target}_STANDARD)
    if(${target}_EXTENSIONS)
      set(_std -std=gnu++${${target}_STANDARD})
    else()
      set(_std -std=c++${${target}_STANDARD})
    endif()
    list(APPEND _package ${_std})
    list(APPEND _here ${_std})
  endif()
  set(_includes ${${target}_INCLUDES})
  list(REMOVE_DUPLICATES _includes)
  foreach(_dir IN LISTS _includes)
    list(APPEND _here -I${_dir})
    file(RELATIVE_PATH _relative ${SOURCE_DIR} ${_dir})
    if(NOT _relative MATCHES "^\\.\\./")
      if(_relative STREQUAL "")
        set(_relative .)
      endif()
      list(APPEND _package -iquote${_relative})
    endif()
  endforeach()
  foreach(_definition IN LISTS ${target}_DEFINITIONS)
    if(_definition MATCHES "[ \"'$\\\\#]")
      message(FATAL_ERROR "octave_package: cannot pass the definition '${_definition}' of ${target}")
    endif()
    list(APPEND _package -D${_definition})
    list(APPEND _here -D${_definition})
  endforeach()
  foreach(_option IN LISTS ${target}_OPTIONS)
    if(_option MATCHES "^SHELL:(.*)$")
      separate_arguments(_option UNIX_COMMAND "${CMAKE_MATCH_1}")
    endif()
    list(APPEND _package ${_option})
  endforeach()
  set(${out_package} "${_package}" PARENT_SCOPE)
  set(${out_here} "${_here}" PARENT_SCOPE)
endfunction()

# The project headers SOURCE includes, directly or not, as the compiler
# finds them with FLAGS. All headers are listed (-M, not -MM), then those
# outside the source tree left out: a file that a system header includes
# again (as Highway does for each instruction set) brings its own headers
# in from there.
function(included_headers source flags out)
  execute_process(COMMAND ${CXX} -M ${flags} ${source}
                  OUTPUT_VARIABLE _rule RESULT_VARIABLE _status ERROR_VARIABLE _error)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "octave_package: cannot list the headers of ${source}:\n${_error}")
  endif()
  string(REGEX REPLACE "^[^:]*:" "" _rule "${_rule}")
  string(REPLACE "\\\n" " " _rule "${_rule}")
  separate_arguments(_files UNIX_COMMAND "${_rule}")
  set(_headers "")
  foreach(_file IN LISTS _files)
    get_filename_component(_file ${_file} ABSOLUTE BASE_DIR ${SOURCE_DIR})
    file(RELATIVE_PATH _relative ${SOURCE_DIR} ${_file})
    if(NOT _file STREQUAL source AND NOT _relative MATCHES "^\\.\\./")
      list(APPEND _headers ${_file})
    endif()
  endforeach()
  set(${out} "${_headers}" PARENT_SCOPE)
endfunction()

# Copies TARGET's sources and headers into the package and appends to
# makefile_rules the rules of its objects, whose paths it returns.
function(add_target_objects target out_objects)
  compile_flags(${target} _package_flags _here_flags)
  list(JOIN _package_flags " " _joined)
  set(_rules "${target}_FLAGS := ${_joined} $(EXTERNAL_CFLAGS)\n")
  set(_objects "")
  foreach(_source IN LISTS ${target}_SOURCES)
    copy_into_package(${_source})
    if(_source MATCHES "\\.c$")
      message(FATAL_ERROR "octave_package: ${_source}: C sources would need flags of their own")
    elseif(NOT _source MATCHES "\\.(cc|cpp|cxx)$")
      continue()
    endif()
    included_headers(${_source} "${_here_flags}" _headers)
    foreach(_header IN LISTS _headers)
      copy_into_package(${_header})
    endforeach()
    path_in_package(${_source} _relative)
    string(REGEX REPLACE "\\.[^.]+$" ".o" _object "obj/${target}/${_relative}")
    list(APPEND _objects ${_object})
    string(APPEND _rules "${_object}: ${_relative}\n"
                         "\t@mkdir -p $(@D)\n"
                         "\t$(MKOCTFILE) -c $< -o $@ $(${target}_FLAGS)\n")
  endforeach()
  set(makefile_rules "${makefile_rules}\n${_rules}" PARENT_SCOPE)
  set(${out_objects} "${_objects}" PARENT_SCOPE)
endfunction()

set(makefile_rules "")
foreach(library IN LISTS VELK_LIBRARIES)
  add_target_objects(${library} objects)
  list(JOIN objects " " objects)
  string(APPEND makefile_rules "lib/lib${library}.a: ${objects}\n"
                               "\t@mkdir -p $(@D)\n"
                               "\trm -f $@ && $(AR) rcs $@ $^\n")
endforeach()

set(help_files "")
set(index_categories "")
foreach(module IN LISTS VELK_MODULES)
  add_target_objects(${module} objects)
  set(libraries "")
  foreach(library IN LISTS ${module}_LIBRARIES)
    list(APPEND libraries lib/lib${library}.a)
  endforeach()
  set(link_flags ${${module}_LINK_OPTIONS} ${${module}_LINK_FLAGS})
  if(${module}_PKG_CONFIG)
    list(JOIN ${module}_PKG_CONFIG " " pkg_config)
    list(APPEND link_flags "$(shell $(PKG_CONFIG) --libs ${pkg_config})")
  endif()
  list(JOIN objects " " objects)
  list(JOIN libraries " " libraries)
  list(JOIN link_flags " " link_flags)
  string(APPEND makefile_rules "${module}.mex: ${objects} ${libraries}\n"
                               "\t$(MKOCTFILE) --mex -o $@ $^ ${link_flags}\n")

  # The help file goes beside the module: Octave shows a module's help from
  # the .m file in its own folder.
  if(${module}_HELP)
    copy_into_package(${${module}_HELP})
    path_in_package(${${module}_HELP} help)
    string(APPEND makefile_rules "$(ARCH_DIR)/${module}.m: ${help}\n"
                                 "\t@mkdir -p $(@D)\n"
                                 "\tcp $< $@\n")
    list(APPEND help_files "$(ARCH_DIR)/${module}.m")
  endif()

  list(FIND index_categories "${${module}_CATEGORY}" category)
  if(category EQUAL -1)
    list(LENGTH index_categories category)
    list(APPEND index_categories "${${module}_CATEGORY}")
  endif()
  string(APPEND index_modules_${category} " ${module}")
endforeach()

list(JOIN VELK_MODULES " " modules)
list(JOIN help_files " " help_files)
list(JOIN VELK_PKG_CONFIG " " pkg_config)
file(WRITE ${package_dir}/src/Makefile
"# Builds the ${NAME} modules for Octave; `pkg install` runs it in this folder.
# Written from the project's CMake targets by its build: change those, not this.

MKOCTFILE ?= mkoctfile
OCTAVE_CONFIG ?= octave-config
PKG_CONFIG ?= pkg-config
AR := $(shell $(MKOCTFILE) -p AR)

# The external libraries, found by pkg-config.
PKG_CONFIG_MODULES := ${pkg_config}
MISSING := $(strip $(foreach m,$(PKG_CONFIG_MODULES),$(if $(shell $(PKG_CONFIG) --exists $(m) && echo found),,$(m))))
ifneq ($(MISSING),)
$(error pkg-config does not find $(MISSING): install the development files that BuildRequires in DESCRIPTION names)
endif
EXTERNAL_CFLAGS := $(if $(PKG_CONFIG_MODULES),$(shell $(PKG_CONFIG) --cflags $(PKG_CONFIG_MODULES)))

# pkg install moves this folder's modules into the package's architecture
# folder; their help files must end there too.
ARCH_DIR := ../inst/$(shell $(OCTAVE_CONFIG) -p CANONICAL_HOST_TYPE)-$(shell $(OCTAVE_CONFIG) -p API_VERSION)

MODULES := ${modules}

all: $(MODULES:=.mex) ${help_files}

# Each library's objects, then its archive; each module's objects, then the
# module, linked with the archives it needs, and its help file. The source
# and the output come before the flags: mkoctfile takes a file that follows
# some -f options for theirs and then compiles nothing.
${makefile_rules}
clean:
\trm -rf obj lib $(MODULES:=.mex)

.PHONY: all clean
")

string(TIMESTAMP DATE "%Y-%m-%d" UTC)
set(build_requires "")
foreach(debian_package IN LISTS VELK_DEBIAN_PACKAGES)
  list(APPEND build_requires "${debian_package} [Debian]")
endforeach()
list(JOIN build_requires ", " BUILD_REQUIRES)
configure_file(${TEMPLATE_DIR}/DESCRIPTION.in ${package_dir}/DESCRIPTION @ONLY)
if(NOT BUILD_REQUIRES)
  # pkg refuses a field without a value.
  file(READ ${package_dir}/DESCRIPTION description)
  string(REPLACE "BuildRequires: \n" "" description "${description}")
  file(WRITE ${package_dir}/DESCRIPTION "${description}")
endif()
file(COPY ${SOURCE_DIR}/COPYING DESTINATION ${package_dir})

file(STRINGS ${package_dir}/DESCRIPTION title REGEX "^Title: ")
string(REPLACE "Title: " "" title "${title}")
set(index "${NAME} >> ${title}\n")
foreach(category_title IN LISTS index_categories)
  list(FIND index_categories "${category_title}" category)
  string(APPEND index "${category_title}\n${index_modules_${category}}\n")
endforeach()
# The functions written in Octave go into inst/, which pkg puts on the path.
if(VELK_OCTAVE_FUNCTIONS)
  file(COPY ${VELK_OCTAVE_FUNCTIONS} DESTINATION ${package_dir}/inst)
  set(function_names "")
  foreach(file IN LISTS VELK_OCTAVE_FUNCTIONS)
    get_filename_component(function ${file} NAME_WE)
    string(APPEND function_names " ${function}")
  endforeach()
  string(APPEND index "Functions\n${function_names}\n")
endif()
file(WRITE ${package_dir}/INDEX "${index}")

execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${TARBALL} ${NAME}-${VERSION}
                WORKING_DIRECTORY ${WORK_DIR} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Wrote ${TARBALL}")
