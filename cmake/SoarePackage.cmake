# The Debian package of the game (scripts/package): exactly what
# `cmake --install` installs, under /usr, in soare_VERSION_amd64.deb. Its
# Depends are computed from the libraries the program links (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME soare)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Soare! developers")
set(CPACK_PACKAGE_CONTACT "Soare! developers <soare@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "glide a sailplane around an island to a rooftop target")
# The synopsis is the summary above; this is the long description after it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Soare! is a small single-player 3-D soaring game. You steer a sailplane
around an island towards a target square on a rooftop: buildings and the
terrain push the craft aside, the ocean holds it at sea level, and four
thermal columns lift it. Land slowly on the target to stop the clock.
.
Fly it with the arrow keys, a gamepad or a joystick; an audio variometer
sounds the climb.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The folders the package makes, whatever the umask of whoever builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# A game's program goes to /usr/games in a Debian package; it finds its data
# from there as from bin/ (share/soare beside its folder).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/SoareDebianGames.cmake)
include(CPack)
