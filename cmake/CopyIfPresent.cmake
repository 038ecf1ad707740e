# cmake -DSRC=<file> -DDEST=<folder> -DHINT=<what to do> -P CopyIfPresent.cmake
# Copies a prepared third-party file into the program folder, or says
# clearly that it is missing (the build goes on without it).
if(EXISTS "${SRC}")
  file(COPY "${SRC}" DESTINATION "${DEST}")
else()
  get_filename_component(name "${SRC}" NAME)
  message(WARNING "${name} is missing (looked for ${SRC}); ${DEST} will lack it. ${HINT}")
endif()
