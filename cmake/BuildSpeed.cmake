# Two ways to compile the program and its tests faster, applied to every target
# once all of them are defined (ms1_speed_up_targets at the end of the top-level
# list file):
#
# MS1_UNITY  Each target's C++ sources are compiled in batches, one translation
#            unit per batch, so that the Qt, GoogleTest, CLI11 and JSON headers
#            are parsed and their templates compiled once a batch instead of
#            once a file. The batch files include the sources by their path
#            below the source folder (found through -I<source folder>), never
#            by an absolute path, so that ccache, which makes the paths of the
#            command line relative, hits them from a clone in any folder.
# MS1_PCH    Each target that includes heavy outside headers precompiles them
#            once. A source that forgets to include one of the project's own
#            headers still fails here, which a batch could hide: the preset
#            without batches keeps such mistakes visible. (A forgotten outside
#            header that the precompiled set holds is not caught.)
option(MS1_UNITY "Compile each target's C++ sources in batches" OFF)
option(MS1_PCH "Precompile the outside headers of the targets that use them" OFF)
set(MS1_UNITY_BATCH_SIZE 8 CACHE STRING "Sources per batch of a unity build")

# The headers precompiled for each kind of target; a target's kind is what it
# links, directly or through the project's libraries.
set(MS1_PCH_STD <algorithm> <array> <chrono> <cstdint> <cstring> <filesystem> <functional>
  <map> <memory> <optional> <set> <string> <string_view> <utility> <vector>)
set(MS1_PCH_QT <QApplication> <QDialog> <QEvent> <QImage> <QLabel> <QPainter> <QPixmap>
  <QPushButton> <QString> <QTimer> <QWidget>)
set(MS1_PCH_GTEST <gtest/gtest.h> <gmock/gmock.h>)
set(MS1_PCH_CLI <CLI/CLI.hpp> <nlohmann/json.hpp>)

# Every target defined in `dir` and below it.
function(ms1_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    ms1_targets_below(${subdir} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The libraries `target` links, directly or through other targets.
function(ms1_linked_closure target out)
  set(seen)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    # Outside packages found in a subfolder are not targets up here; their
    # names are all that is needed.
    list(APPEND seen ${current})
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND queue ${aliased})
    endif()
    get_target_property(type ${current} TYPE)
    set(links)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link ${links})
      if(NOT link MATCHES "^\\$<")
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The C++ sources of `target` that live in the source folder, absolute; not
# those the build generates (the build folder may lie inside the source folder).
function(ms1_own_cxx_sources target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(own)
  foreach(source ${sources})
    if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE OUTPUT_VARIABLE path)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${path} NORMALIZE inside)
    cmake_path(IS_PREFIX PROJECT_BINARY_DIR ${path} NORMALIZE generated)
    if(inside AND NOT generated)
      list(APPEND own ${path})
    endif()
  endforeach()
  set(${out} ${own} PARENT_SCOPE)
endfunction()

# Replaces the C++ `sources` of `target` by batch files that include them. The
# sources stay in the target, marked as not compiled on their own.
function(ms1_unity_target target sources)
  get_target_property(binary_dir ${target} BINARY_DIR)
  set(batch_index 0)
  set(in_batch 0)
  set(content "")
  set(batches)
  foreach(path ${sources})
    cmake_path(RELATIVE_PATH path BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE relative)
    string(APPEND content "#include \"${relative}\"\n")
    math(EXPR in_batch "${in_batch} + 1")
    if(in_batch EQUAL MS1_UNITY_BATCH_SIZE)
      ms1_write_batch(${binary_dir}/${target}_batches ${batch_index} "${content}" batch)
      list(APPEND batches ${batch})
      math(EXPR batch_index "${batch_index} + 1")
      set(in_batch 0)
      set(content "")
    endif()
  endforeach()
  if(in_batch GREATER 0)
    ms1_write_batch(${binary_dir}/${target}_batches ${batch_index} "${content}" batch)
    list(APPEND batches ${batch})
  endif()
  set_source_files_properties(${sources} TARGET_DIRECTORY ${target}
    PROPERTIES HEADER_FILE_ONLY ON)
  target_sources(${target} PRIVATE ${batches})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# Writes one batch file, only when its text changes, so that a new
# configuration does not make ninja rebuild it.
function(ms1_write_batch dir index content out)
  set(path ${dir}/batch_${index}.cpp)
  set(text "// Written by the build (cmake/BuildSpeed.cmake): one batch of a unity build.\n${content}")
  if(EXISTS ${path})
    file(READ ${path} old)
  else()
    set(old "")
  endif()
  if(NOT old STREQUAL text)
    file(WRITE ${path} "${text}")
  endif()
  set(${out} ${path} PARENT_SCOPE)
endfunction()

# Precompiles the outside headers `target` uses, by what it links.
function(ms1_pch_target target)
  ms1_linked_closure(${target} closure)
  set(headers)
  if("Qt6::Widgets" IN_LIST closure)
    list(APPEND headers ${MS1_PCH_QT})
  endif()
  if("GTest::gtest" IN_LIST closure OR "GTest::gtest_main" IN_LIST closure)
    list(APPEND headers ${MS1_PCH_GTEST})
  endif()
  if("CLI11::CLI11" IN_LIST closure)
    list(APPEND headers ${MS1_PCH_CLI})
  endif()
  if(headers)
    target_precompile_headers(${target} PRIVATE ${MS1_PCH_STD} ${headers})
  endif()
endfunction()

function(ms1_speed_up_targets)
  if(NOT MS1_UNITY AND NOT MS1_PCH)
    return()
  endif()
  ms1_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    # One source gains nothing from either.
    ms1_own_cxx_sources(${target} sources)
    list(LENGTH sources count)
    if(count LESS 2)
      continue()
    endif()
    if(MS1_UNITY)
      ms1_unity_target(${target} "${sources}")
    endif()
    if(MS1_PCH)
      ms1_pch_target(${target})
    endif()
  endforeach()
endfunction()
