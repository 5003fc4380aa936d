# Finds the headers of the media libraries on this machine, for Tandrel's own
# build and for programs built on the installed kit alike. The binding takes
# the types of its table slots from them; the libraries themselves are opened
# at run time and never linked.
# Sets TANDREL_MEDIA_INCLUDE_DIRS, and TANDREL_MEDIA_HEADERS_MISSING to the
# headers not found, each with the Debian package that holds it.
set(TANDREL_MEDIA_INCLUDE_DIRS)
set(TANDREL_MEDIA_HEADERS_MISSING)
foreach(entry IN ITEMS "SDL;SDL/SDL.h;libsdl1.2-dev" "FREETYPE;ft2build.h;libfreetype-dev;freetype2"
                       "GL;GL/gl.h;libgl-dev" "GLU;GL/glu.h;libglu1-mesa-dev")
  list(POP_FRONT entry name header package)
  find_path(TANDREL_${name}_INCLUDE_DIR ${header} PATH_SUFFIXES ${entry})
  if(TANDREL_${name}_INCLUDE_DIR)
    list(APPEND TANDREL_MEDIA_INCLUDE_DIRS ${TANDREL_${name}_INCLUDE_DIR})
  else()
    list(APPEND TANDREL_MEDIA_HEADERS_MISSING "${header} (${package})")
  endif()
endforeach()
list(REMOVE_DUPLICATES TANDREL_MEDIA_INCLUDE_DIRS)
