# The window was asked for (BREVIX_GUI=ON): every Qt component it needs must
# be there, or the configuration stops and names the Debian package that
# brings the missing one. A build that silently drops the window passes every
# Qt-free test and reports success, which is worse than a clear stop.
set(BREVIX_QT_COMPONENT_PACKAGES
  "Core:qt6-base-dev" "Gui:qt6-base-dev" "Widgets:qt6-base-dev" "PrintSupport:qt6-base-dev"
  "Test:qt6-base-dev" "Svg:qt6-svg-dev" "Charts:qt6-charts-dev" "OpenGL:libqt6opengl6-dev")

find_package(Qt6 QUIET COMPONENTS Widgets PrintSupport Svg Charts Test)
if(Qt6_FOUND)
  return()
endif()

# Say which component failed and which package brings it. Qt Charts pulls in
# Qt OpenGL, whose development files Debian ships apart: without them the
# whole Qt 6 package fails to load, so that one is checked first.
set(missing_packages "")
set(missing_components "")
foreach(entry ${BREVIX_QT_COMPONENT_PACKAGES})
  string(REPLACE ":" ";" pair "${entry}")
  list(GET pair 0 component)
  list(GET pair 1 package)
  find_package(Qt6${component} QUIET CONFIG)
  if(NOT Qt6${component}_FOUND)
    list(APPEND missing_components Qt6${component})
    list(APPEND missing_packages ${package})
  endif()
endforeach()
if(NOT missing_packages)
  list(APPEND missing_components Qt6)
  list(APPEND missing_packages qt6-base-dev)
endif()
list(REMOVE_DUPLICATES missing_packages)
string(REPLACE ";" " " missing_packages "${missing_packages}")
string(REPLACE ";" ", " missing_components "${missing_components}")
message(FATAL_ERROR
  "Qt 6 is incomplete (missing: ${missing_components}), so the window cannot be built.\n"
  "Install: apt-get install ${missing_packages}\n"
  "(scripts/install-deps.sh installs everything; or configure with -DBREVIX_GUI=OFF "
  "to build the command line only.)")
