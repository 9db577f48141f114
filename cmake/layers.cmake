# The program's layers, lowest first: each row names a layer, the folders that hold it and the layers it uses.
# A file's layer is that of the deepest folder of this table that holds it, so moving a file between folders is
# the only way to change its layer. A layer uses only layers listed before it; a file may include files of its
# own layer and of the layers its layer uses, directly or through them (cmake/check_layers.cmake holds every
# build to this), and each layer's library links only the libraries of the layers it uses. The README's layer
# table lists the same layers and folders in the same order, and the check holds it to this one.
set(VEX_LAYER_TABLE
    "base       : base resources       :"
    "framework  : framework            : base"
    "controls   : ui                   : framework"
    "detection  : engine/detection     : base"
    "system     : system               : base"
    "repair     : repair               : system"
    "scan       : engine system/memory : controls detection repair"
    "app        : app                  : scan")

# Splits the table into VEX_LAYERS (in order), VEX_FOLDERS_<layer> and VEX_USES_<layer>.
function(vex_read_layer_table)
  set(layers)
  foreach(row ${VEX_LAYER_TABLE})
    if(NOT row MATCHES "^([^:]*):([^:]*):(.*)$")
      message(FATAL_ERROR "layer table row \"${row}\" is not LAYER : FOLDERS : USES")
    endif()
    set(layer "${CMAKE_MATCH_1}")
    set(folders "${CMAKE_MATCH_2}")
    set(uses "${CMAKE_MATCH_3}")
    foreach(part layer folders uses)
      string(STRIP "${${part}}" ${part})
      string(REGEX REPLACE " +" ";" ${part} "${${part}}")
    endforeach()
    foreach(used ${uses})
      if(NOT used IN_LIST layers)
        message(FATAL_ERROR "layer ${layer} uses ${used}, which is not a layer listed before it")
      endif()
    endforeach()
    list(APPEND layers ${layer})
    set(VEX_FOLDERS_${layer} ${folders} PARENT_SCOPE)
    set(VEX_USES_${layer} ${uses} PARENT_SCOPE)
  endforeach()
  set(VEX_LAYERS ${layers} PARENT_SCOPE)
endfunction()
vex_read_layer_table()

# Every folder of the table, for globbing.
set(VEX_LAYER_FOLDERS)
foreach(layer ${VEX_LAYERS})
  foreach(folder ${VEX_FOLDERS_${layer}})
    string(REGEX MATCH "^[^/]+" top ${folder})
    list(APPEND VEX_LAYER_FOLDERS ${top})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES VEX_LAYER_FOLDERS)

# Sets `out` to the layer of `path` (relative to the source root): the deepest folder of the table that holds
# it wins. "" when no folder does.
function(vex_layer_of path out)
  set(best "")
  set(best_length 0)
  foreach(layer ${VEX_LAYERS})
    foreach(folder ${VEX_FOLDERS_${layer}})
      string(LENGTH "${folder}/" length)
      string(SUBSTRING "${path}" 0 ${length} head)
      if(head STREQUAL "${folder}/" AND length GREATER best_length)
        set(best ${layer})
        set(best_length ${length})
      endif()
    endforeach()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# Sets `out` to the layers that `layer` may reach: itself and every layer it uses, directly or through them.
function(vex_reachable_layers layer out)
  set(reached ${layer})
  set(pending ${VEX_USES_${layer}})
  while(pending)
    list(POP_FRONT pending next)
    if(NOT next IN_LIST reached)
      list(APPEND reached ${next})
      list(APPEND pending ${VEX_USES_${next}})
    endif()
  endwhile()
  set(${out} ${reached} PARENT_SCOPE)
endfunction()

# Sets VEX_SOURCES_<layer> for every layer to its sources (.cpp, full paths, sorted), from one glob. Natively
# only the portable ones: a file ending in _win.cpp, and everything in framework/, is Windows glue.
function(vex_sources_by_layer)
  set(globs)
  foreach(top ${VEX_LAYER_FOLDERS})
    list(APPEND globs ${CMAKE_SOURCE_DIR}/${top}/*.cpp)
  endforeach()
  file(GLOB_RECURSE candidates RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS ${globs})
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

# Sets `out` to the libraries of the layers that the product files included by `source` belong to: a test or
# fuzz target links just those, and through them what they use.
function(vex_libraries_for_includes source out)
  file(STRINGS ${source} lines REGEX "^#include \"")
  set(libraries)
  foreach(line ${lines})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    vex_layer_of(${included} layer)
    if(layer)
      list(APPEND libraries vex_${layer})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES libraries)
  set(${out} ${libraries} PARENT_SCOPE)
endfunction()
