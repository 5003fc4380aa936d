# Tandrel's framework kit: find_package(Tandrel CONFIG REQUIRED), then
# target_link_libraries(<program> PRIVATE Tandrel::Tandrel).
# The kit's headers include those of SDL 1.2, OpenGL, GLU and FreeType, which
# are found here on this machine; the libraries themselves are opened at run
# time, so none is linked.
if(TARGET Tandrel::Tandrel)
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/TandrelMediaHeaders.cmake)
if(TANDREL_MEDIA_HEADERS_MISSING)
  set(Tandrel_FOUND FALSE)
  set(Tandrel_NOT_FOUND_MESSAGE "Tandrel needs the headers ${TANDREL_MEDIA_HEADERS_MISSING}")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/TandrelTargets.cmake)
set_property(TARGET Tandrel::binding APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${TANDREL_MEDIA_INCLUDE_DIRS})
