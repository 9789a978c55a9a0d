# qv_aax_module(name SOURCES ... [LINK libs] [RESOURCES files] [BUNDLE_DIR dir])
#
# A loadable AAX module laid out as a bundle:
#   <BUNDLE_DIR>/<name>.aaxplugin/Contents/x86_64-linux/<name>.so
#   <BUNDLE_DIR>/<name>.aaxplugin/Contents/Resources/<each resource>
# BUNDLE_DIR defaults to the top of the build tree. The module is compiled
# with hidden visibility and linked with aax_module.map, so it exports only
# the entry points, the interlocked counters, the identifier data and the two
# identifier texts; aaxlibrary is linked whole so none of those is dropped
# for being unreferenced, and --no-undefined catches a missing
# GetEffectDescriptions at link time rather than at load time.
set(QV_AAX_MODULE_MAP ${CMAKE_CURRENT_LIST_DIR}/aax_module.map)

function(qv_aax_module name)
  cmake_parse_arguments(A "" "BUNDLE_DIR" "SOURCES;LINK;RESOURCES" ${ARGN})
  if(NOT A_BUNDLE_DIR)
    set(A_BUNDLE_DIR ${CMAKE_BINARY_DIR})
  endif()
  set(bundle ${A_BUNDLE_DIR}/${name}.aaxplugin)

  add_library(${name} MODULE ${A_SOURCES})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${bundle}/Contents/x86_64-linux
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${QV_AAX_MODULE_MAP})
  target_link_libraries(${name} PRIVATE
    -Wl,--whole-archive aaxlibrary -Wl,--no-whole-archive
    ${A_LINK} qv_warnings)
  target_link_options(${name} PRIVATE -Wl,--version-script=${QV_AAX_MODULE_MAP})
  # clang links its sanitizer and fuzzer runtimes into the executable only; a
  # fuzz build's module takes those symbols from the fuzzer that loads it.
  if(NOT QV_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()

  # Resources sit beside the binary's folder; the folder exists even when empty.
  set(res_dir ${bundle}/Contents/Resources)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${res_dir}
    VERBATIM)
  foreach(r IN LISTS A_RESOURCES)
    get_filename_component(abs ${r} ABSOLUTE)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${abs} ${res_dir}/
      VERBATIM)
  endforeach()
  set_property(TARGET ${name} PROPERTY QV_AAX_BUNDLE ${bundle})
endfunction()
