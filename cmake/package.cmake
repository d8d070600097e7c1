# `cpack -G DEB` builds gyrotide_<version>_<arch>.deb from the install rules, for /usr.
# Its dependencies are read from the shared libraries the program links (dpkg-shlibdeps, from
# dpkg-dev). The package holds the shared high-score folder, which the postinst gives to the
# group games; removal keeps the scores saved in it, purging deletes them. The menu, icon and
# man page caches follow through the triggers of the packages that own them.
set(GYROTIDE_PACKAGE_MAINTAINER "Gyrotide developers <gyrotide@zapfinch.example>" CACHE STRING
    "The Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gyrotide)
set(CPACK_PACKAGE_VENDOR Zapfinch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${GYROTIDE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The web button opens the manual through the desktop's URL opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "calm tile-turning puzzle game
A board of 9 by 9 square tiles carries line ends on their sides; turn the
tiles until every line end meets a line end of its neighbour. Sliding, linked,
fixed and bomb tiles, four difficulty lists, relaxed or scored play, a shared
high-score table, a tutorial and a manual with pictures.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/postinst
                                       ${PROJECT_SOURCE_DIR}/cmake/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/score_folder_in_package.cmake)
include(CPack)
