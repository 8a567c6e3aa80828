# Keeps the layers honest: every #include "folder/file.h" of our own code must point at a
# room that its own room may use, and Qt may be included only where windows live.
#
#   cmake -DROOT=<source tree> -P cmake/check_layers.cmake
#
# Fails (non-zero exit) with one line per forbidden edge.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "check_layers: pass -DROOT=<source tree>")
endif()

# Each room and the rooms it may include, in no particular order (the check needs none). A
# room is a folder, or a subfolder where the subfolder has rules of its own. The graph has
# no cycles: nothing points up.
set(rooms core platform platform/qt shell testkit wardrobe skins ensembles tools
  neighbourhood audit figure demo app cli)
set(uses_core "")
set(uses_platform core)
set(uses_platform/qt platform core)
set(uses_shell platform core)
set(uses_testkit platform core)
set(uses_wardrobe shell platform core)
set(uses_skins shell platform core)
set(uses_ensembles wardrobe shell platform core)
set(uses_tools neighbourhood wardrobe shell platform core)
set(uses_neighbourhood wardrobe skins shell platform core)
set(uses_audit tools neighbourhood ensembles wardrobe skins shell platform core)
set(uses_figure wardrobe shell platform core)
set(uses_demo testkit platform core)
set(uses_app audit figure neighbourhood wardrobe skins ensembles tools shell demo testkit platform/qt platform core)
set(uses_cli audit figure neighbourhood wardrobe skins ensembles tools shell demo testkit platform core)
# Rooms that may include Qt.
set(qt_rooms platform/qt app)
# Tests, benchmarks and fuzz targets may use every room; nothing may use them.
set(free_rooms tests benchmarks fuzz)

function(room_of path out)
  set(best "")
  foreach(room IN LISTS rooms free_rooms)
    string(FIND "${path}" "${room}/" at)
    string(LENGTH "${room}" length)
    string(LENGTH "${best}" best_length)
    if(at EQUAL 0 AND length GREATER best_length)
      set(best "${room}")
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/*.h" "${ROOT}/*.cpp")
set(faults "")
set(checked 0)
foreach(source IN LISTS sources)
  if(source MATCHES "^(build|out)[^/]*/" OR source MATCHES "/CMakeFiles/")
    continue()
  endif()
  room_of("${source}" from)
  if(from STREQUAL "" OR from IN_LIST free_rooms)
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
      if(NOT from IN_LIST qt_rooms)
        list(APPEND faults "${source}: ${from} includes Qt (${CMAKE_MATCH_1})")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    room_of("${target}" to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()
    endif()
    if(NOT to IN_LIST uses_${from})
      list(APPEND faults "${source}: ${from} may not include ${target} (${to})")
    endif()
  endforeach()
endforeach()

if(faults)
  list(LENGTH faults count)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "${count} include(s) break the layers:\n  ${text}")
endif()
message(STATUS "Layers hold: ${checked} files checked")
