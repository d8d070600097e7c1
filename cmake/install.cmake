# `cmake --install` lays the game out as Debian lays out its games, under any prefix:
#   games/gyrotide                    the launcher (changes into the data folder, runs the game)
#   lib/games/gyrotide/gyrotide       the program
#   share/games/gyrotide/             gyrotide.zap, music.zap and the manual with its pictures
#   share/applications/, share/metainfo/, share/icons/hicolor/, share/man/man6/
#   share/doc/gyrotide/               the copyright and the changelog
#   share/lintian/overrides/gyrotide  why two of lintian's remarks do not apply
# and, installing as root into /usr or /usr/local, /var/games/gyrotide for the shared scores.
set(GYROTIDE_INSTALL_LAUNCHER_DIR games)
set(GYROTIDE_INSTALL_PROGRAM_DIR lib/games/gyrotide)
set(GYROTIDE_INSTALL_DATA_DIR share/games/gyrotide)
# The one name the desktop entry, the metainfo and the desktop's software centres know the
# game by.
set(GYROTIDE_APP_ID org.zapfinch.gyrotide)
# The line under the game's name in the menu and the software centres (at most 35 characters,
# so software centres show it whole).
set(GYROTIDE_SUMMARY "Turn tiles until all line ends meet")
# AppStream wants web addresses for the home page and the screenshot. The game has no web page
# yet: the default is a placeholder to be set to the real one, where the manual's picture of
# the game, build/manual/screen.png, is to be published as screenshot.png.
set(GYROTIDE_HOMEPAGE "https://gyrotide.example" CACHE STRING
    "The game's web page; the metainfo's screenshot is published there as screenshot.png")

set(GYROTIDE_DOCS_OUT ${CMAKE_BINARY_DIR}/docs)
find_program(GZIP_PROGRAM gzip REQUIRED)

# The launcher finds both folders relative to its own.
file(RELATIVE_PATH GYROTIDE_LAUNCHER_TO_DATA /${GYROTIDE_INSTALL_LAUNCHER_DIR}
     /${GYROTIDE_INSTALL_DATA_DIR})
file(RELATIVE_PATH GYROTIDE_LAUNCHER_TO_PROGRAM /${GYROTIDE_INSTALL_LAUNCHER_DIR}
     /${GYROTIDE_INSTALL_PROGRAM_DIR}/gyrotide)
configure_file(${PROJECT_SOURCE_DIR}/cmake/launcher.sh.in ${GYROTIDE_DOCS_OUT}/launcher/gyrotide
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS gyrotide RUNTIME DESTINATION ${GYROTIDE_INSTALL_PROGRAM_DIR})
# A stripped installation (`cmake --install --strip`, and so the package) also drops the
# compiler's notes, which strip alone keeps.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${GYROTIDE_INSTALL_PROGRAM_DIR}/gyrotide\"
    COMMAND_ERROR_IS_FATAL ANY)
endif()")
install(PROGRAMS ${GYROTIDE_DOCS_OUT}/launcher/gyrotide DESTINATION ${GYROTIDE_INSTALL_LAUNCHER_DIR})
install(FILES ${CMAKE_BINARY_DIR}/gyrotide.zap ${CMAKE_BINARY_DIR}/music.zap
        DESTINATION ${GYROTIDE_INSTALL_DATA_DIR})
# The built manual (tools/manual), where the web button looks for it: manual/index.html in the
# folder the game runs in.
install(DIRECTORY ${GYROTIDE_MANUAL_DIR} DESTINATION ${GYROTIDE_INSTALL_DATA_DIR})
install(DIRECTORY ${GYROTIDE_ICON_DIR}/hicolor DESTINATION share/icons)

include(${PROJECT_SOURCE_DIR}/cmake/release.cmake)
gyrotide_release_date(${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${PROJECT_VERSION}
                      GYROTIDE_RELEASE_DATE)

# The Debian documentation: the copyright of everything installed, and the changelog,
# compressed as Debian keeps it.
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION share/doc/gyrotide)
add_custom_command(
  OUTPUT ${GYROTIDE_DOCS_OUT}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/cmake/debian/changelog > ${GYROTIDE_DOCS_OUT}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog
  COMMENT "Compressing the changelog")
add_custom_target(changelog ALL DEPENDS ${GYROTIDE_DOCS_OUT}/changelog.gz)
install(FILES ${GYROTIDE_DOCS_OUT}/changelog.gz DESTINATION share/doc/gyrotide)
# Why lintian's remarks on where the manual and the program live do not apply.
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/lintian-overrides DESTINATION share/lintian/overrides
        RENAME gyrotide)

# The metainfo, and the desktop entry for the configured prefix (both checked by the tests).
configure_file(${PROJECT_SOURCE_DIR}/docs/gyrotide.metainfo.xml.in
               ${GYROTIDE_DOCS_OUT}/${GYROTIDE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${GYROTIDE_DOCS_OUT}/${GYROTIDE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
include(${PROJECT_SOURCE_DIR}/cmake/desktop_entry.cmake)
gyrotide_write_desktop_entry(${PROJECT_SOURCE_DIR}/docs/gyrotide.desktop.in
                             ${GYROTIDE_DOCS_OUT}/${GYROTIDE_APP_ID}.desktop
                             "${CMAKE_INSTALL_PREFIX}" ${GYROTIDE_INSTALL_LAUNCHER_DIR})
# The installed entry is written again for the prefix given to `cmake --install`.
install(CODE "include(\"${PROJECT_SOURCE_DIR}/cmake/desktop_entry.cmake\")
set(GYROTIDE_SUMMARY \"${GYROTIDE_SUMMARY}\")
gyrotide_install_desktop_entry(\"${PROJECT_SOURCE_DIR}/docs/gyrotide.desktop.in\"
  \"${GYROTIDE_DOCS_OUT}/installing\" ${GYROTIDE_APP_ID} ${GYROTIDE_INSTALL_LAUNCHER_DIR})")

# The man page, compressed as Debian keeps them (no name or time stamp inside).
add_custom_command(
  OUTPUT ${GYROTIDE_DOCS_OUT}/gyrotide.6.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/docs/gyrotide.6 > ${GYROTIDE_DOCS_OUT}/gyrotide.6.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/gyrotide.6
  COMMENT "Compressing the man page")
add_custom_target(man_page ALL DEPENDS ${GYROTIDE_DOCS_OUT}/gyrotide.6.gz)
install(FILES ${GYROTIDE_DOCS_OUT}/gyrotide.6.gz DESTINATION share/man/man6)

install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/score_folder.cmake)
