# brevix_require(<package> <Debian package> [find_package arguments ...]):
# finds a library the build cannot do without, or stops the configuration
# naming the Debian package to install, rather than CMake's generic
# "Could not find a package configuration file".
macro(brevix_require package debian_package)
  find_package(${package} ${ARGN} QUIET)
  if(NOT ${package}_FOUND)
    message(FATAL_ERROR "${package} not found. Install: apt-get install ${debian_package}\n"
                        "(scripts/install-deps.sh installs everything Brevix needs.)")
  endif()
endmacro()
