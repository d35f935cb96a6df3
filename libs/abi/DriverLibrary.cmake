# Builds one outside library file under the name the program loads, with
# hidden visibility and only the entry points its version script lists
# exported, so that no two libraries in one process bind to each other's
# internals.
function(ms1_add_outside_library target file_name output_dir version_script)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${file_name}
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${output_dir}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${version_script})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${version_script} -Wl,-Bsymbolic -Wl,--no-undefined)
endfunction()

# Builds one driver library file. Each file keeps its own SONAME and exports
# only the driver entry points.
function(ms1_add_driver_library target file_name output_dir)
  ms1_add_outside_library(${target} ${file_name} ${output_dir}
    ${PROJECT_SOURCE_DIR}/libs/abi/exports.map ${ARGN})
endfunction()
