# The desktop entry's Exec value for an installation prefix, against values worked out by hand
# from the desktop entry format: arguments with reserved characters go in double quotes, where
# " ` $ and \ take a backslash; then every backslash of the value is doubled and % written %%.
include(${SOURCE_DIR}/cmake/desktop_entry.cmake)

function(expect prefix expected)
  gyrotide_desktop_exec("${prefix}" games actual)
  if(NOT actual STREQUAL expected)
    message(SEND_ERROR "prefix [${prefix}]: got [${actual}], expected [${expected}]")
  endif()
endfunction()

# On every user's PATH: the name alone.
expect("/usr" "gyrotide")
expect("/usr/local" "gyrotide")
# Plain paths stand as they are.
expect("/opt/gyrotide" "/opt/gyrotide/games/gyrotide")
expect("/home/ann/.local" "/home/ann/.local/games/gyrotide")
# Spaces: quoted.
expect("/home/ann/my games" "\"/home/ann/my games/games/gyrotide\"")
# A dollar, a quote and a backquote: one backslash each, doubled by the string rule.
expect("/g/$x" "\"/g/\\\\$x/games/gyrotide\"")
expect("/g/a\"b" "\"/g/a\\\\\"b/games/gyrotide\"")
expect("/g/a`b" "\"/g/a\\\\`b/games/gyrotide\"")
# A backslash: escaped for the quotes, and both escaped again: four.
expect("/g/a\\b" "\"/g/a\\\\\\\\b/games/gyrotide\"")
# A percent sign would start a field code.
expect("/g/100%" "\"/g/100%%/games/gyrotide\"")
