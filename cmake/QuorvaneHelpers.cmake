# Shared build helpers: warnings, sanitizers, test and header-check targets.

# Warnings every target of ours compiles with.
add_library(qv_warnings INTERFACE)
target_compile_options(qv_warnings INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
if(QV_WERROR)
  target_compile_options(qv_warnings INTERFACE -Werror)
endif()

# g++ 12 at -O2 vectorises only loops it can do without run-time checks or a
# scalar epilogue, which leaves sample-format and per-pixel loops scalar. The
# dynamic cost model lets it version for aliasing and add epilogues; it never
# reassociates floating point, so results stay bit-exact.
set(QV_EXTRA_OPT_FLAGS "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(QV_EXTRA_OPT_FLAGS "-fvect-cost-model=dynamic")
  add_compile_options(${QV_EXTRA_OPT_FLAGS})
endif()

macro(qv_setup_sanitizers)
  if(QV_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  elseif(QV_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
  elseif(NOT QV_SANITIZE STREQUAL "")
    message(FATAL_ERROR "QV_SANITIZE must be empty, address or thread")
  endif()
endmacro()

# qv_library(name SOURCES ... [PUBLIC_INCLUDE dirs] [LINK libs])
# A static library of ours with the project warnings.
function(qv_library name)
  cmake_parse_arguments(A "" "" "SOURCES;PUBLIC_INCLUDE;LINK" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${A_PUBLIC_INCLUDE})
  target_link_libraries(${name} PUBLIC ${A_LINK} PRIVATE qv_warnings)
endfunction()

# qv_test(name SOURCES ... [LINK libs] [LABELS labels])
# One GoogleTest executable; its cases are registered with CTest one by one.
function(qv_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LINK;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LINK} GTest::gtest GTest::gtest_main qv_warnings)
  set(env "")
  if(QV_SANITIZE STREQUAL "address")
    set(env ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
  elseif(QV_SANITIZE STREQUAL "thread")
    set(env ENVIRONMENT "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${A_LABELS}" TIMEOUT 300 ${env})
endfunction()

# qv_header_check(target header...)
# Compiles one generated translation unit per public header so every header
# stays self-contained (includes what it uses).
function(qv_header_check target)
  set(srcs)
  foreach(h IN LISTS ARGN)
    get_filename_component(abs ${h} ABSOLUTE)
    string(MAKE_C_IDENTIFIER ${h} id)
    set(tu ${CMAKE_CURRENT_BINARY_DIR}/header_check/${id}.cpp)
    file(CONFIGURE OUTPUT ${tu} CONTENT "#include \"${abs}\"\n")
    list(APPEND srcs ${tu})
  endforeach()
  add_library(${target}_header_check OBJECT ${srcs})
  target_link_libraries(${target}_header_check PRIVATE ${target} qv_warnings)
endfunction()

# AAX module bundles: qv_aax_module.
include(${CMAKE_CURRENT_LIST_DIR}/AaxModule.cmake)
# LV2 bundles: qv_lv2_bundle.
include(${CMAKE_CURRENT_LIST_DIR}/Lv2Bundle.cmake)
