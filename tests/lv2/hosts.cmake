# The LV2 plug-in in hosts no one here wrote: jalv on a private JACK server
# with the dummy driver, and Ardour 7 headless. Included by this folder's
# CMakeLists.txt; everything it defines is prefixed so it can sit beside the
# folder's other tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(QV_HOSTS_LILV REQUIRED IMPORTED_TARGET lilv-0)
pkg_check_modules(QV_HOSTS_SNDFILE REQUIRED IMPORTED_TARGET sndfile)

# Saves a plug-in's state through lilv for `jalv -l` (console jalv cannot save).
add_executable(lv2_save_state ${CMAKE_CURRENT_LIST_DIR}/lv2_save_state.cpp)
target_link_libraries(lv2_save_state PRIVATE PkgConfig::QV_HOSTS_LILV qv_warnings)
# Checks an export against a recorded take, float for float.
add_executable(lv2_take_compare ${CMAKE_CURRENT_LIST_DIR}/lv2_take_compare.cpp)
target_link_libraries(lv2_take_compare PRIVATE PkgConfig::QV_HOSTS_SNDFILE qv_warnings)

# The plug-in under test: Quorvane's bundle once the LV2 wrapper is in the
# tree; before that x42's Stereo Routing (routing 5 swaps, 6 passes straight),
# which proves the host mechanics on a plug-in that exists. Its state is only
# its port values, so jalv's -l gets those; Quorvane's comes from its own
# state interface alone.
if(EXISTS ${PROJECT_SOURCE_DIR}/WDL/IPlug/LV2)
  set(qv_hosts_plugin --uri urn:orvantine:quorvane --control swap --on 1 --off 0
    --bundle ${CMAKE_BINARY_DIR}/Quorvane.lv2)
  set(qv_hosts_state plugin)
  set(qv_hosts_name Quorvane)
else()
  set(qv_hosts_plugin --uri http://gareus.org/oss/lv2/stereoroute --control routing --on 5 --off 6)
  set(qv_hosts_state ports)
  set(qv_hosts_name StereoRouting)
endif()

add_test(NAME lv2.jalv.${qv_hosts_name}
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/jalv_test.sh ${qv_hosts_plugin}
    --saver $<TARGET_FILE:lv2_save_state> --state ${qv_hosts_state})
add_test(NAME lv2.ardour.${qv_hosts_name}
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/ardour_test.sh ${qv_hosts_plugin}
    --compare $<TARGET_FILE:lv2_take_compare>)
# Both keep real-time pace (JACK's and Ardour's dummy backends), so running
# them one after the other costs nothing and spares the shared cores.
set_tests_properties(lv2.jalv.${qv_hosts_name} lv2.ardour.${qv_hosts_name} PROPERTIES
  LABELS lv2 TIMEOUT 240 RESOURCE_LOCK lv2_hosts)
