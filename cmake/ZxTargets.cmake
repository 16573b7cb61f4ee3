# Helpers that give every target of the project the same shape.

# zx_platform_component(name SOURCES ... [DEPS ...]): one static library per Windows
# component under platform/, with its public headers in include/.
function(zx_platform_component name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;LINUX" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${A_DEPS} PRIVATE ${A_LINUX})
  set_property(GLOBAL APPEND PROPERTY ZX_PLATFORM_COMPONENTS ${name})
endfunction()

# zx_shared_module(name SOURCES ... [DEPS ...]): a shipped shared library, laid out in the
# program folder as <name>.so (LoadLibrary maps "<name>.dll" to it).
function(zx_shared_module name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
                        VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(${name} PUBLIC ${A_DEPS})
endfunction()

# zx_test(name SOURCES ... [LIBS ...]): one GoogleTest program, registered test by test.
function(zx_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  target_link_libraries(${name} PRIVATE ${A_LIBS} zx_testsupport GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "ZX_PROGRAM_DIR=${ZX_PROGRAM_DIR}")
endfunction()
