# Builds one driver library file under the name the program loads. Each file
# keeps its own SONAME and exports only the driver entry points.
function(ms1_add_driver_library target file_name output_dir)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${file_name}
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${output_dir}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${PROJECT_SOURCE_DIR}/libs/abi/exports.map)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${PROJECT_SOURCE_DIR}/libs/abi/exports.map -Wl,-Bsymbolic -Wl,--no-undefined)
endfunction()
