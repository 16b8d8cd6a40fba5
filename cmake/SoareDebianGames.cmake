# Run by CPack after it has installed into its staging folder: moves the
# program from usr/bin to usr/games, where Debian keeps games.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(EXISTS ${staged}/bin/soare)
  file(MAKE_DIRECTORY ${staged}/games)
  file(RENAME ${staged}/bin/soare ${staged}/games/soare)
  file(GLOB left ${staged}/bin/*)
  if(NOT left)
    file(REMOVE_RECURSE ${staged}/bin)
  endif()
endif()
