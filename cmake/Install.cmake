# Installing Brevix as a desktop program: `cmake --install BUILD --prefix P`
# puts the programs in P/bin, the user's guide in P/share/doc/brevix, the
# desktop entry, the design file types and their icons in P/share, and the
# uninstaller with its Setup.log in P/lib/brevix. `cpack -G DEB` packs the
# same for /usr.

# brevix-cli's diagram command runs brevix-diagram from beside it.
set(cli_programs brevix-cli)
if(TARGET brevix-diagram)
  list(APPEND cli_programs brevix-diagram)
endif()
if(NOT TARGET brevix OR NOT TARGET uninstaller OR NOT TARGET brevix-cli)
  if(TARGET brevix-cli)
    install(TARGETS ${cli_programs} RUNTIME DESTINATION bin)
  endif()
  return()
endif()

set(BREVIX_LOG_FOLDER lib/brevix)
set(BREVIX_DOC_FOLDER share/doc/brevix)
set(install_folders bin share/applications share/mime/packages share/icons/hicolor/scalable/apps
    share/icons/hicolor/scalable/mimetypes ${BREVIX_DOC_FOLDER}/UsersGuide/images ${BREVIX_LOG_FOLDER})

# Before anything is copied: which folders will be new.
install(CODE "
  set(BREVIX_INSTALL_FOLDERS \"${install_folders}\")
  set(BREVIX_LOG_FOLDER \"${BREVIX_LOG_FOLDER}\")
  set(BREVIX_OWN_FOLDERS \"${BREVIX_LOG_FOLDER};${BREVIX_DOC_FOLDER}\")
  set(BREVIX_SETUP_LOG_TEXTS \"${CMAKE_SOURCE_DIR}/packaging/setup-log-texts.ini\")
  set(BREVIX_BUILD_DIR \"${CMAKE_BINARY_DIR}\")
  include(\"${CMAKE_SOURCE_DIR}/cmake/SetupLog.cmake\")
  brevix_note_existing_folders()
")

install(TARGETS brevix ${cli_programs} RUNTIME DESTINATION bin)
# The guide's worked example of fitting rough reads its scan, pebble.obj.
install(DIRECTORY UsersGuide/ DESTINATION ${BREVIX_DOC_FOLDER}/UsersGuide
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.svg" PATTERN "*.jpg" PATTERN "*.obj")
install(CODE "brevix_install_desktop_entry(\"${CMAKE_SOURCE_DIR}/packaging/brevix.desktop.in\" bin/brevix)")
install(FILES packaging/brevix-mime.xml DESTINATION share/mime/packages RENAME brevix.xml)
install(FILES packaging/icons/brevix.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES packaging/icons/application-x-brevix-gem.svg packaging/icons/text-x-brevix-asc.svg
              packaging/icons/text-x-brevix-brx.svg
        DESTINATION share/icons/hicolor/scalable/mimetypes)
install(TARGETS uninstaller RUNTIME DESTINATION ${BREVIX_LOG_FOLDER})
# Last: the log of everything above.
install(CODE "brevix_write_setup_log(${BREVIX_LOG_FOLDER} uninstaller)")

# The Debian package: the same files below /usr. DESTDIR staging keeps the
# paths in Setup.log those of the installed machine.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevix)
set(CPACK_PACKAGE_VENDOR "The Brevix project")
set(CPACK_PACKAGE_CONTACT "Brevix developers <brevix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Design program for faceted gemstones")
set(CPACK_PACKAGE_DESCRIPTION
    "Brevix designs faceted gemstones: facets cut by angle and index, four views and a turning view, raytracing, cutting instructions and printed diagrams.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
