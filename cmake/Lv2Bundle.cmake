# qv_lv2_bundle(name SOURCES ... [LINK libs] [BUNDLE_DIR dir])
#
# An LV2 bundle made from a product's sources compiled for the LV2 wrapper
# (IPLUG_LV2 selects IPlugLV2 as the base; IPLUG_NO_EDITOR leaves the editor
# out, so the binary links without X11, FreeType or libpng):
#   <BUNDLE_DIR>/<name>.lv2/<name>.so      exports only lv2_descriptor
#   <BUNDLE_DIR>/<name>.lv2/manifest.ttl   written at build time by
#   <BUNDLE_DIR>/<name>.lv2/<name>.ttl     <name>_lv2_ttl, a program linked
#   <BUNDLE_DIR>/<name>.lv2/presets.ttl    with the same objects
# The sources must define MakePlug and IPlugLV2_PluginURI. Targets:
# <name>_lv2 (the binary, property QV_LV2_BUNDLE = the bundle folder),
# <name>_lv2_ttl (the generator) and <name>_lv2_data (the data files).
set(QV_LV2_MODULE_MAP ${CMAKE_CURRENT_LIST_DIR}/lv2_module.map)
set(QV_LV2_DIR ${CMAKE_CURRENT_LIST_DIR}/../WDL/IPlug/LV2)

function(qv_lv2_bundle name)
  cmake_parse_arguments(A "" "BUNDLE_DIR" "SOURCES;LINK" ${ARGN})
  if(NOT A_BUNDLE_DIR)
    set(A_BUNDLE_DIR ${CMAKE_BINARY_DIR})
  endif()
  set(bundle ${A_BUNDLE_DIR}/${name}.lv2)

  add_library(${name}_lv2_objects OBJECT ${A_SOURCES})
  target_compile_definitions(${name}_lv2_objects PUBLIC IPLUG_LV2 IPLUG_NO_EDITOR)
  target_link_libraries(${name}_lv2_objects PUBLIC iplug_lv2 ${A_LINK} PRIVATE qv_warnings)
  set_target_properties(${name}_lv2_objects PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

  add_library(${name}_lv2 MODULE ${QV_LV2_DIR}/IPlugLV2_Entry.cpp)
  set_target_properties(${name}_lv2 PROPERTIES
    OUTPUT_NAME ${name}
    PREFIX ""
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${bundle}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${QV_LV2_MODULE_MAP})
  target_link_libraries(${name}_lv2 PRIVATE ${name}_lv2_objects qv_warnings)
  target_link_options(${name}_lv2 PRIVATE -Wl,--version-script=${QV_LV2_MODULE_MAP})
  if(NOT QV_FUZZ)
    target_link_options(${name}_lv2 PRIVATE -Wl,--no-undefined)
  endif()

  add_executable(${name}_lv2_ttl ${QV_LV2_DIR}/IPlugLV2_Generate.cpp)
  target_link_libraries(${name}_lv2_ttl PRIVATE ${name}_lv2_objects iplug_lv2_ttl qv_warnings)

  set(data ${bundle}/manifest.ttl ${bundle}/${name}.ttl ${bundle}/presets.ttl)
  add_custom_command(OUTPUT ${data}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle}
    COMMAND ${name}_lv2_ttl ${bundle} ${name}.so ${name}.ttl
    DEPENDS ${name}_lv2_ttl
    COMMENT "LV2 bundle data for ${name}"
    VERBATIM)
  add_custom_target(${name}_lv2_data ALL DEPENDS ${data})
  add_dependencies(${name}_lv2 ${name}_lv2_data)
  set_property(TARGET ${name}_lv2 PROPERTY QV_LV2_BUNDLE ${bundle})
endfunction()
