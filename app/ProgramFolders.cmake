# Program folders: the program finds its drivers, skin and data beside itself
# (the folder of /proc/self/exe, links resolved), so a folder is made of real
# copies, never links. Each copy is redone when its target is rebuilt.

# Copies the files of `targets` into `folder` whenever one of them changes;
# `name` is the custom target that does it (part of ALL).
function(ms1_copy_targets_into name folder)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp)
  set(copies)
  foreach(target ${ARGN})
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${folder}/)
  endforeach()
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    ${copies}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${ARGN}
    COMMENT "Updating the program folder ${folder}")
  add_custom_target(${name} ALL DEPENDS ${stamp})
endfunction()

# Copies the skin folder to `folder`/res, afresh, so that a file removed from
# the skin does not linger in the copy.
function(ms1_copy_skin_into name folder)
  file(GLOB_RECURSE skin_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}/res
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/res ${folder}/res
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${skin_files}
    COMMENT "Copying the skin into ${folder}")
  add_custom_target(${name} ALL DEPENDS ${stamp})
endfunction()
