# gyrotide_release_date(<changelog> <version> <out-var>): the release as the Debian changelog
# records it. Its newest entry must be <version> (the one the game shows); its date, as
# YYYY-MM-DD, is the release date the metainfo gives.
function(gyrotide_release_date changelog version out)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
  file(READ ${changelog} text)
  string(REPLACE "." "\\." version_pattern "${version}")
  if(NOT text MATCHES "^gyrotide \\(${version_pattern}\\) ")
    string(REGEX MATCH "^[^\n]*" heading "${text}")
    message(FATAL_ERROR "${changelog} begins \"${heading}\": its newest entry must be version "
                        "${version}, the one the game shows")
  endif()
  # The first trailer line: " -- Name <address>  Tue, 08 Dec 2026 12:00:00 +0000".
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  if(NOT text MATCHES "\n -- [^\n]*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) "
     OR NOT CMAKE_MATCH_2 IN_LIST months)
    message(FATAL_ERROR "${changelog}: the newest entry has no date like \"Tue, 08 Dec 2026\"")
  endif()
  list(FIND months ${CMAKE_MATCH_2} month)
  math(EXPR month "${month} + 1")
  if(month LESS 10)
    set(month 0${month})
  endif()
  set(${out} ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
