# Runs inside `cmake --install` (and CPack's install step): remembers which
# of the installation's folders are already there, and at the end writes
# Setup.log, the uninstaller's list of what this installation added, with
# CR LF line ends and INI sections:
#   [COMMON]    the product's name and the uninstaller's texts
#   [APPFILES]  every installed file, the uninstaller and Setup.log last
#   [APPDIR]    every folder the installation created, deepest first
#   [REGENTRY]  the program's settings key
# Paths are the installed ones (without DESTDIR), so a staged package lists
# the places its files will have.

# Folders of the installation, relative to the prefix, with every folder
# between them and the prefix.
function(brevix_installation_folders out)
  set(all "")
  foreach(folder ${ARGN})
    set(path ${folder})
    while(path)
      list(APPEND all ${path})
      get_filename_component(path ${path} DIRECTORY)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES all)
  set(${out} ${all} PARENT_SCOPE)
endfunction()

function(brevix_note_existing_folders)
  set(created "")
  brevix_installation_folders(folders ${BREVIX_INSTALL_FOLDERS})
  foreach(folder ${folders})
    if(NOT IS_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${folder}")
      list(APPEND created ${folder})
    endif()
  endforeach()
  # Installing again over an earlier installation: the folders that one
  # made are still this installation's to remove.
  set(old_log "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${BREVIX_LOG_FOLDER}/Setup.log")
  if(EXISTS "${old_log}")
    file(STRINGS "${old_log}" old_lines)
    set(in_appdir FALSE)
    foreach(line ${old_lines})
      string(REGEX REPLACE "\r$" "" line "${line}")
      if(line MATCHES "^\\[")
        set(in_appdir FALSE)
        if(line STREQUAL "[APPDIR]")
          set(in_appdir TRUE)
        endif()
      elseif(in_appdir AND line MATCHES "^${CMAKE_INSTALL_PREFIX}/(.+)$")
        # (Install scripts run without policies: no IN_LIST here.)
        list(FIND folders "${CMAKE_MATCH_1}" known)
        if(NOT known EQUAL -1)
          list(APPEND created ${CMAKE_MATCH_1})
        endif()
      endif()
    endforeach()
    list(REMOVE_DUPLICATES created)
  endif()
  # A folder that a staged package brings may still exist on the machine it
  # is installed on (/usr/share …): only the product's own folders are ours.
  if(NOT "$ENV{DESTDIR}" STREQUAL "")
    set(own "")
    foreach(folder ${created})
      foreach(root ${BREVIX_OWN_FOLDERS})
        if(folder STREQUAL root OR folder MATCHES "^${root}/")
          list(APPEND own ${folder})
        endif()
      endforeach()
    endforeach()
    set(created ${own})
  endif()
  set(BREVIX_CREATED_FOLDERS ${created} PARENT_SCOPE)
endfunction()

function(brevix_write_setup_log log_folder uninstaller)
  set(CR "\r")
  set(destdir "$ENV{DESTDIR}")
  set(log_path "${CMAKE_INSTALL_PREFIX}/${log_folder}/Setup.log")
  set(uninstaller_path "${CMAKE_INSTALL_PREFIX}/${log_folder}/${uninstaller}")

  file(READ "${BREVIX_SETUP_LOG_TEXTS}" common)
  string(REPLACE "\r" "" common "${common}")
  string(REPLACE "\n" "\r\n" common "${common}")
  set(text "${common}")

  string(APPEND text "[APPFILES]\r\n")
  set(files "")
  foreach(file ${CMAKE_INSTALL_MANIFEST_FILES})
    if(destdir AND file MATCHES "^${destdir}")
      string(LENGTH "${destdir}" skip)
      string(SUBSTRING "${file}" ${skip} -1 file)
    endif()
    list(APPEND files "${file}")
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(REMOVE_ITEM files "${uninstaller_path}" "${log_path}")
  foreach(file ${files} "${uninstaller_path}" "${log_path}")
    string(APPEND text "${file}\r\n")
  endforeach()

  # Deepest first, so a folder is only tried once everything below it went.
  string(APPEND text "[APPDIR]\r\n")
  set(by_depth "")
  foreach(folder ${BREVIX_CREATED_FOLDERS})
    string(REGEX MATCHALL "/" slashes "/${folder}")
    list(LENGTH slashes depth)
    math(EXPR key "100 - ${depth}")
    if(key LESS 10)
      set(key "0${key}")
    endif()
    list(APPEND by_depth "${key}|${folder}")
  endforeach()
  list(SORT by_depth)
  foreach(entry ${by_depth})
    string(REGEX REPLACE "^[0-9]+\\|" "" folder "${entry}")
    string(APPEND text "${CMAKE_INSTALL_PREFIX}/${folder}\r\n")
  endforeach()

  string(APPEND text "[REGENTRY]\r\nHKCU,Software\\Brevix\r\n")

  message(STATUS "Installing: ${destdir}${log_path}")
  file(WRITE "${destdir}${log_path}" "${text}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destdir}${log_path}")
  set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} PARENT_SCOPE)
endfunction()

# The desktop entry names the installed program by its full path, which is
# only known when installing (`--prefix` may differ from the configured one).
function(brevix_install_desktop_entry template program)
  set(BREVIX_PROGRAM "${CMAKE_INSTALL_PREFIX}/${program}")
  set(generated "${BREVIX_BUILD_DIR}/packaging/brevix.desktop")
  configure_file("${template}" "${generated}" @ONLY)
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${generated}")
  set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} PARENT_SCOPE)
endfunction()
