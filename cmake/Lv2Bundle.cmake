# qv_lv2_bundle(name SOURCES ... [LINK libs] [BUNDLE_DIR dir]
#               [UI_SOURCES ... UI_RESOURCES files...])
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
# With UI_SOURCES, the same product sources compiled again with IPLUG_LV2_UI
# (its editor included) make <BUNDLE_DIR>/<name>.lv2/<name>_ui.so, an X11 UI
# exporting only lv2ui_descriptor (target <name>_lv2_ui), declared in the
# data files as <plug-in URI>#ui; UI_RESOURCES are copied into the bundle,
# where the UI finds them through the bundle path the host gives it.
set(QV_LV2_MODULE_MAP ${CMAKE_CURRENT_LIST_DIR}/lv2_module.map)
set(QV_LV2UI_MODULE_MAP ${CMAKE_CURRENT_LIST_DIR}/lv2ui_module.map)
set(QV_LV2_DIR ${CMAKE_CURRENT_LIST_DIR}/../WDL/IPlug/LV2)

function(qv_lv2_bundle name)
  cmake_parse_arguments(A "" "BUNDLE_DIR" "SOURCES;LINK;UI_SOURCES;UI_RESOURCES" ${ARGN})
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

  set(ui_binary "")
  if(A_UI_SOURCES)
    set(ui_binary ${name}_ui.so)
    add_library(${name}_lv2_ui_objects OBJECT ${A_UI_SOURCES})
    target_compile_definitions(${name}_lv2_ui_objects PUBLIC IPLUG_LV2_UI)
    target_link_libraries(${name}_lv2_ui_objects PUBLIC iplug_lv2_ui ${A_LINK} PRIVATE qv_warnings)
    set_target_properties(${name}_lv2_ui_objects PROPERTIES
      CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    add_library(${name}_lv2_ui MODULE ${QV_LV2_DIR}/IPlugLV2UI_Entry.cpp)
    set_target_properties(${name}_lv2_ui PROPERTIES
      OUTPUT_NAME ${name}_ui
      PREFIX ""
      SUFFIX ".so"
      LIBRARY_OUTPUT_DIRECTORY ${bundle}
      CXX_VISIBILITY_PRESET hidden
      VISIBILITY_INLINES_HIDDEN ON
      LINK_DEPENDS ${QV_LV2UI_MODULE_MAP})
    target_link_libraries(${name}_lv2_ui PRIVATE ${name}_lv2_ui_objects qv_warnings)
    target_link_options(${name}_lv2_ui PRIVATE -Wl,--version-script=${QV_LV2UI_MODULE_MAP})
    if(NOT QV_FUZZ)
      target_link_options(${name}_lv2_ui PRIVATE -Wl,--no-undefined)
    endif()
    set(copied)
    foreach(res IN LISTS A_UI_RESOURCES)
      get_filename_component(base ${res} NAME)
      add_custom_command(OUTPUT ${bundle}/${base}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${res} ${bundle}/${base}
        DEPENDS ${res})
      list(APPEND copied ${bundle}/${base})
    endforeach()
    add_custom_target(${name}_lv2_ui_resources ALL DEPENDS ${copied})
    add_dependencies(${name}_lv2_ui ${name}_lv2_ui_resources ${name}_lv2_data)
    add_dependencies(${name}_lv2 ${name}_lv2_ui)
  endif()

  set(data ${bundle}/manifest.ttl ${bundle}/${name}.ttl ${bundle}/presets.ttl)
  add_custom_command(OUTPUT ${data}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle}
    COMMAND ${name}_lv2_ttl ${bundle} ${name}.so ${name}.ttl ${ui_binary}
    DEPENDS ${name}_lv2_ttl
    COMMENT "LV2 bundle data for ${name}"
    VERBATIM)
  add_custom_target(${name}_lv2_data ALL DEPENDS ${data})
  add_dependencies(${name}_lv2 ${name}_lv2_data)
  set_property(TARGET ${name}_lv2 PROPERTY QV_LV2_BUNDLE ${bundle})
endfunction()
