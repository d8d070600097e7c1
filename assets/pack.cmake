# Packs the files listed in the manifests (comma-separated in MANIFESTS, one file name a line,
# relative to FOLDER) into ARCHIVE with the zap tool, in sorted order so the archive is the same
# on every build.
foreach(var ZAP ARCHIVE FOLDER MANIFESTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "pack.cmake needs -D${var}=...")
  endif()
endforeach()

string(REPLACE "," ";" manifests "${MANIFESTS}")
set(names)
foreach(manifest IN LISTS manifests)
  file(STRINGS ${manifest} listed)
  list(APPEND names ${listed})
endforeach()
list(SORT names)

set(files)
set(previous "")
foreach(name IN LISTS names)
  if(name STREQUAL previous)
    message(FATAL_ERROR "two generators both write ${name}")
  endif()
  set(previous ${name})
  list(APPEND files ${FOLDER}/${name})
endforeach()

execute_process(COMMAND ${ZAP} pack ${ARCHIVE} ${files} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "zap pack failed")
endif()
