# One static library per folder of src/, linked along the allowed dependencies of src/layers.txt.
# Each library is named gyrotide_<folder> with "/" written as "_" (gyrotide_platform_sdl).
# "main" (the program's entry file) and "tools" are not libraries; their rows only constrain
# includes.

# gyrotide_layer_dependencies(<folder> <out-var>): the folders <folder> may use directly.
function(gyrotide_layer_dependencies folder out)
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/layers.txt rows REGEX "^[a-z/]+:")
  set(result "")
  foreach(row IN LISTS rows)
    string(REGEX MATCH "^([a-z/]+):(.*)$" _ "${row}")
    if(CMAKE_MATCH_1 STREQUAL folder)
      string(STRIP "${CMAKE_MATCH_2}" deps)
      if(deps)
        string(REPLACE " " ";" result "${deps}")
      endif()
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(gyrotide_layer_target folder out)
  string(REPLACE "/" "_" name "${folder}")
  set(${out} gyrotide_${name} PARENT_SCOPE)
endfunction()

# gyrotide_layer(<folder> [extra link libraries...]): the folder's library.
function(gyrotide_layer folder)
  gyrotide_layer_target(${folder} target)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  # A folder with nothing compiled yet still passes its dependencies on.
  set(scope PUBLIC)
  if(sources)
    add_library(${target} STATIC ${sources})
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR}/src)
  gyrotide_layer_dependencies(${folder} deps)
  foreach(dep IN LISTS deps)
    gyrotide_layer_target(${dep} dep_target)
    target_link_libraries(${target} ${scope} ${dep_target})
  endforeach()
  target_link_libraries(${target} ${scope} ${ARGN})
endfunction()
