# brevix_subsystem(<folder> [<dependency folder> ...]): a static library
# brevix_<folder> from src/<folder>/*.cpp (an interface library while the
# folder is still empty). Each subsystem builds on its own, so work in one
# folder never breaks the build of the folders it does not use.
function(brevix_subsystem folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  set(target brevix_${folder})
  set(deps "")
  foreach(dep ${ARGN})
    list(APPEND deps brevix_${dep})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${deps})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${deps})
  endif()
endfunction()
