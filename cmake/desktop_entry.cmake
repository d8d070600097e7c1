# Writes the desktop entry for an installation prefix. Used at configure time (for the entry
# the tests validate) and again at install time, when the real prefix is known.
#
# Installed into /usr or /usr/local the launcher is on every user's PATH and the entry names it
# alone, as Debian's games do; anywhere else the entry names the launcher by its full path,
# quoted and escaped as the desktop entry format asks.

# gyrotide_desktop_exec(<prefix> <launcher-dir> <out-var>)
function(gyrotide_desktop_exec prefix launcher_dir out)
  if(prefix STREQUAL "/usr" OR prefix STREQUAL "/usr/local")
    set(${out} "gyrotide" PARENT_SCOPE)
    return()
  endif()
  set(path "${prefix}/${launcher_dir}/gyrotide")
  if(NOT path MATCHES "[^A-Za-z0-9/._+-]")
    set(${out} "${path}" PARENT_SCOPE)
    return()
  endif()
  # Inside double quotes, backslash, quote, backquote and dollar are escaped with a backslash;
  # the value as a whole then doubles every backslash, and a percent sign is written twice.
  string(REPLACE "\\" "\\\\" quoted "${path}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\`" quoted "${quoted}")
  string(REPLACE "$" "\\$" quoted "${quoted}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  set(${out} "\"${quoted}\"" PARENT_SCOPE)
endfunction()

# gyrotide_write_desktop_entry(<template> <output> <prefix> <launcher-dir>)
function(gyrotide_write_desktop_entry template output prefix launcher_dir)
  gyrotide_desktop_exec("${prefix}" "${launcher_dir}" GYROTIDE_DESKTOP_EXEC)
  configure_file("${template}" "${output}" @ONLY)
endfunction()

# gyrotide_install_desktop_entry(<template> <staging-folder> <app-id> <launcher-dir>), run by
# `cmake --install`: writes the entry for the prefix being installed to, in a staging folder of
# its own for each destination (so installations running at once keep apart), and installs it.
# A macro, so that file(INSTALL) records the file in the caller's install manifest.
macro(gyrotide_install_desktop_entry template staging app_id launcher_dir)
  string(MD5 gyrotide_destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(gyrotide_entry "${staging}/${gyrotide_destination}/${app_id}.desktop")
  gyrotide_write_desktop_entry("${template}" "${gyrotide_entry}" "${CMAKE_INSTALL_PREFIX}" ${launcher_dir})
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${gyrotide_entry}")
endmacro()
