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

# The plug-in under test is Quorvane's bundle. The scripts take the URI, the
# control and the bundle as arguments, so they run any plug-in (x42's Stereo
# Routing, routing 5 swaps and 6 passes straight, proves the mechanics on a
# plug-in no one here wrote: --uri http://gareus.org/oss/lv2/stereoroute
# --control routing --on 5 --off 6 --state ports). Quorvane's state comes
# from its own state interface alone; with --state plugin both tests also
# load a state whose port value says off while the plug-in's own state says
# on (jalv -l; in Ardour, the control set while the plug-in is inactive),
# and the audio must follow the port.
set(qv_hosts_plugin --uri urn:orvantine:quorvane --control swap --on 1 --off 0
  --bundle $<TARGET_PROPERTY:Quorvane_lv2,QV_LV2_BUNDLE>)
set(qv_hosts_state plugin)
set(qv_hosts_name Quorvane)

add_test(NAME lv2.jalv.${qv_hosts_name}
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/jalv_test.sh ${qv_hosts_plugin}
    --saver $<TARGET_FILE:lv2_save_state> --state ${qv_hosts_state})
# Once in about eight runs on a loaded machine, a whole run went wrong in
# Ardour itself (8 s instead of 20: the first export was not the take
# exchanged, and the same build then passed every run, loaded or not). A
# fault of the plug-in fails every run, so a failed run is tried once more,
# with its output kept in the log.
add_test(NAME lv2.ardour.${qv_hosts_name}
  COMMAND bash -c "bash \"$0\" \"$@\" || { echo 'ardour_test: failed once; trying again' >&2; bash \"$0\" \"$@\"; }"
    ${CMAKE_CURRENT_LIST_DIR}/ardour_test.sh ${qv_hosts_plugin}
    --compare $<TARGET_FILE:lv2_take_compare> --state ${qv_hosts_state})
# Both keep real-time pace (JACK's and Ardour's dummy backends), so running
# them one after the other costs nothing and spares the shared cores.
set_tests_properties(lv2.jalv.${qv_hosts_name} lv2.ardour.${qv_hosts_name} PROPERTIES
  LABELS lv2 TIMEOUT 240 RESOURCE_LOCK lv2_hosts)
# jalv and Ardour are not built with our sanitizer runtime, so they cannot
# load a sanitized plug-in; sanitizer builds skip them (the plug-in's own
# threads are covered there by lv2_host_tests).
if(QV_SANITIZE)
  set_tests_properties(lv2.jalv.${qv_hosts_name} lv2.ardour.${qv_hosts_name} PROPERTIES
    DISABLED TRUE)
endif()
