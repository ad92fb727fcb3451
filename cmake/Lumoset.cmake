# Build settings shared by every target of the project.

set(LUMOSET_WARNINGS -Wall -Wextra -Wpedantic -Werror -Wno-unused-parameter)

if(LUMOSET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(LUMOSET_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Warnings as errors for our own code.
function(lumoset_target_options target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:${LUMOSET_WARNINGS}>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Werror>)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# lumoset_library(name SOURCES ... LIBS ...): a static library of one subsystem folder.
function(lumoset_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  lumoset_target_options(${name})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# Adds every child folder of the current source folder that has a CMakeLists.txt, except the
# names given.
function(lumoset_add_child_folders)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(NOT child IN_LIST ARGN AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
