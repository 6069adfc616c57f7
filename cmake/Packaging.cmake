# The Debian package: `cpack -G DEB` in the build folder. Its runtime
# dependencies are read from the programs themselves (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME varnok-dat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnok Dat Tool developers")
set(CPACK_PACKAGE_CONTACT "Varnok Dat Tool developers <dev@varnok.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Varnok Dat Tool: sprite archives, S16 and SHP files of Varnok")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Varnok Dat Tool developers <dev@varnok.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary above is the first line; these lines follow it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "varnok-dat-tool is the window program: it browses .dat archives, shows and
edits the icons of S16 files, and converts SHP files.
varnok-dat does the same work from the command line and in scripts.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, where dpkg-shlibdeps cannot see it: the SVG icon
# engine that draws the toolbar's own icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
