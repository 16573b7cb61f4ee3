# Helpers that give every target of the project the same shape.

# The standard headers most sources include. A target of many sources parses them once, from
# precompiled headers of its own (zx_precompile), instead of once per source; with AFX the
# class library's headers too, for the product's code. Parsing headers took well over half of
# a source's compile time in the unoptimised builds.
set(ZX_STANDARD_HEADERS <algorithm> <atomic> <cstdint> <cstdio> <cstdlib> <cstring> <functional> <map>
    <memory> <mutex> <optional> <string> <string_view> <unordered_map> <vector>)
set(ZX_PRECOMPILE_MINIMUM 6)
function(zx_precompile target)
  cmake_parse_arguments(A "AFX" "" "" ${ARGN})
  get_target_property(sources ${target} SOURCES)
  list(LENGTH sources count)
  if(count LESS ZX_PRECOMPILE_MINIMUM)
    return()
  endif()
  set(headers ${ZX_STANDARD_HEADERS})
  if(A_AFX)
    list(APPEND headers <afx.h> <afxwin.h> <afxcmn.h>)
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# zx_without_precompiled(sources ...): sources of a precompiling target that parse their headers
# themselves. Through precompiled headers GCC 12 no longer treats the standard library as a
# system header for warnings it raises while optimising inlined code, and reports false
# -Warray-bounds and -Wstringop-overflow inside std::string for these sources' concatenations.
function(zx_without_precompiled)
  set_source_files_properties(${ARGN} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()

# zx_platform_component(name SOURCES ... [DEPS ...]): one static library per Windows
# component under platform/, with its public headers in include/.
function(zx_platform_component name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;LINUX" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${A_DEPS} PRIVATE ${A_LINUX})
  zx_precompile(${name})
  set_property(GLOBAL APPEND PROPERTY ZX_PLATFORM_COMPONENTS ${name})
  set_property(GLOBAL APPEND PROPERTY ZX_PLATFORM_LINUX_LIBS ${A_LINUX})
endfunction()

# zx_shared_module(name SOURCES ... [DEPS ...]): a shipped shared library, laid out in the
# program folder as <name>.so (LoadLibrary maps "<name>.dll" to it).
function(zx_shared_module name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
                        VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  zx_precompile(${name} AFX)
endfunction()

# zx_copy_resources(target folder module): a copy of the module's resources (<module>.res of
# the program folder) in folder, made again whenever they change, not only when the target is
# linked, so a test never runs on pictures or templates older than the build's.
function(zx_copy_resources target folder module)
  add_custom_command(OUTPUT ${folder}/${module}.res
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${ZX_PROGRAM_DIR}/${module}.res ${folder}/${module}.res
    DEPENDS ${ZX_PROGRAM_DIR}/${module}.res ${module}_resources)
  add_custom_target(${target}_${module}_copy DEPENDS ${folder}/${module}.res)
  add_dependencies(${target} ${target}_${module}_copy)
endfunction()

# The tests' own code is compiled without optimisation in every build: what they exercise are
# the libraries and programs, compiled as the build says, and optimising GoogleTest's expansions
# took most of a test file's compile time. -pthread for all, as some get it from the libraries
# they link, so one set of precompiled headers serves every test program.
function(zx_test_compile_options target)
  target_compile_options(${target} PRIVATE -O0 -pthread)
endfunction()

# zx_test(name SOURCES ... [LIBS ...] [OWN_FOLDER MODULES ...] [DIALOG_TESTING] [POPUP_TESTING]
#         [SNAPSHOTS folder]): one GoogleTest program, registered test by test. With OWN_FOLDER the
# program lies in a folder of its own beside copies of the named shared modules, as a shipped
# program lies beside its libraries, and its tests run one at a time (they write files beside
# those modules), though beside the tests of any other program; the resource library qvxres
# comes with its resources. DIALOG_TESTING adds the dialogs' test helpers (tests/ui/dialogs),
# POPUP_TESTING the popups' as well (tests/ui/popups); SNAPSHOTS names the folder of
# tests/data/snapshots that holds its reference pictures (ZX_UI_SNAPSHOTS). HEAVY marks a
# program some of whose tests keep a core busy for many seconds (the generated workstation's
# scan and lookup, digests of files past 4 GiB): each of its tests counts as four of ctest's
# slots, so that fewer tests run beside it and none of them nears the time limit.
function(zx_test name)
  cmake_parse_arguments(A "OWN_FOLDER;HEAVY;DIALOG_TESTING;POPUP_TESTING" "SNAPSHOTS" "SOURCES;LIBS;MODULES" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} zx_testsupport GTest::gtest_main)
  zx_test_compile_options(${name})
  target_precompile_headers(${name} REUSE_FROM zx_test_headers)
  if(A_POPUP_TESTING)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/ui/popups/popups_testing.cpp)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/ui/popups)
    set(A_DIALOG_TESTING TRUE)
  endif()
  if(A_DIALOG_TESTING)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/ui/dialogs/dialogs_testing.cpp)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/ui/dialogs)
  endif()
  if(A_SNAPSHOTS)
    target_compile_definitions(${name} PRIVATE
                               ZX_UI_SNAPSHOTS="${PROJECT_SOURCE_DIR}/tests/data/snapshots/${A_SNAPSHOTS}")
  endif()
  set(properties "")
  if(A_HEAVY)
    list(APPEND properties PROCESSORS 4)
  endif()
  if(A_OWN_FOLDER)
    set(folder ${CMAKE_BINARY_DIR}/tests-bin/${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder} BUILD_RPATH "$ORIGIN")
    foreach(module ${A_MODULES})
      add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${module}> ${folder}/)
    endforeach()
    if("qvxres" IN_LIST A_MODULES)
      zx_copy_resources(${name} ${folder} qvxres)
    endif()
    list(APPEND properties RESOURCE_LOCK ${folder})
  else()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin
                          BUILD_RPATH "${ZX_PROGRAM_DIR}")
  endif()
  if(properties)
    set(properties PROPERTIES ${properties})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${properties})
endfunction()
