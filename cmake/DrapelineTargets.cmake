# Warnings are errors in our own code; third-party headers come in as system headers.
function(drapeline_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # GCC 12 reports std::string copies as overlapping memcpy at -O2/-O3 (its bug 105329
      # and relatives); the warning says nothing about our code.
      target_compile_options(${target} PRIVATE -Wno-restrict -Wno-stringop-overflow
        -Wno-array-bounds)
    endif()
  endif()
endfunction()

# A library of plain C++ (no Qt): core and the logic of each subsystem.
function(drapeline_logic_library name)
  add_library(${name} STATIC ${ARGN})
  string(REPLACE "drapeline_" "Drapeline::" alias ${name})
  add_library(${alias} ALIAS ${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  drapeline_warnings(${name})
endfunction()
