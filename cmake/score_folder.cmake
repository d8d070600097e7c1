# Run by `cmake --install`: creates the shared high-score folder /var/games/gyrotide (group
# games, mode 2775) when installing as root straight into the system (prefix /usr or
# /usr/local, no DESTDIR). Any other installation (a package being staged, a folder in $HOME, a
# temporary prefix) leaves the system alone and never fails here: the game then keeps its
# high-score table per user. The Debian package creates the folder in its postinst instead.
# GYROTIDE_SCORE_FOLDER stands in for the real folder in the tests.
set(folder /var/games/gyrotide)
if(DEFINED GYROTIDE_SCORE_FOLDER)
  set(folder ${GYROTIDE_SCORE_FOLDER})
endif()
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
if(NOT (CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
  return()
endif()
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed)
if(failed OR NOT uid STREQUAL "0")
  message(STATUS "Not creating ${folder} (needs root): high scores will be kept per user")
  return()
endif()
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND chgrp games ${folder} RESULT_VARIABLE failed)
if(failed)
  message(WARNING "${folder}: cannot give it to the group games; high scores are kept per user")
  return()
endif()
execute_process(COMMAND chmod 2775 ${folder} RESULT_VARIABLE failed)
if(failed)
  message(WARNING "${folder}: cannot set its mode to 2775")
  return()
endif()
message(STATUS "Shared high-score folder: ${folder} (group games, mode 2775)")
