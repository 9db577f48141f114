# The program's layers, lowest first. A file may include only files of its own layer and of the layers below
# it, and no folder includes a folder that comes later in VEX_FOLDER_ORDER; each layer is a library that
# links only the layers below. cmake/check_layers.cmake holds every build to this.
set(VEX_LAYERS base framework controls detection system repair scan app)

# Which layer a file is in: the first pattern (a path relative to the source root) that matches.
set(VEX_LAYER_PATTERNS
    "base/*" base
    "resources/*" base
    "framework/*" framework
    "ui/*" controls
    "engine/pe_reader*" detection
    "engine/signature_*" detection
    "engine/text_pattern.*" detection
    "engine/text_pattern_table*" detection
    "system/memory_scan*" scan
    "system/*" system
    "repair/*" repair
    "engine/*" scan
    "app/*" app)

set(VEX_FOLDER_ORDER resources base framework ui system repair engine app)

# Sets `out` to the layer of `path` (relative to the source root), or to "" when it is in none.
function(vex_layer_of path out)
  set(patterns ${VEX_LAYER_PATTERNS})
  list(LENGTH patterns count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    list(GET patterns ${i} pattern)
    string(REPLACE "." "\\." regex "${pattern}")
    string(REPLACE "*" ".*" regex "${regex}")
    if(path MATCHES "^${regex}$")
      math(EXPR j "${i} + 1")
      list(GET patterns ${j} layer)
      set(${out} ${layer} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Sets VEX_SOURCES_<layer> for every layer to its sources (.cpp, full paths, sorted), from one glob. Natively
# only the portable ones: a file ending in _win.cpp, and everything in framework/, is Windows glue.
function(vex_sources_by_layer)
  file(GLOB_RECURSE candidates RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/base/*.cpp ${CMAKE_SOURCE_DIR}/framework/*.cpp ${CMAKE_SOURCE_DIR}/ui/*.cpp
       ${CMAKE_SOURCE_DIR}/engine/*.cpp ${CMAKE_SOURCE_DIR}/system/*.cpp ${CMAKE_SOURCE_DIR}/repair/*.cpp
       ${CMAKE_SOURCE_DIR}/app/*.cpp)
  list(SORT candidates)
  foreach(layer ${VEX_LAYERS})
    set(sources_${layer})
  endforeach()
  foreach(source ${candidates})
    if(source STREQUAL "app/main.cpp")
      continue()
    endif()
    if(NOT WIN32 AND (source MATCHES "_win\\.cpp$" OR source MATCHES "^framework/"))
      continue()
    endif()
    vex_layer_of(${source} layer)
    list(APPEND sources_${layer} ${CMAKE_SOURCE_DIR}/${source})
  endforeach()
  foreach(layer ${VEX_LAYERS})
    set(VEX_SOURCES_${layer} ${sources_${layer}} PARENT_SCOPE)
  endforeach()
endfunction()
