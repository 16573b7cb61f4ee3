# Helpers that give every target of the project the same shape.

# zx_platform_component(name SOURCES ... [DEPS ...]): one static library per Windows
# component under platform/, with its public headers in include/.
function(zx_platform_component name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;LINUX" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${A_DEPS} PRIVATE ${A_LINUX})
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
endfunction()

# zx_test(name SOURCES ... [LIBS ...] [OWN_FOLDER MODULES ...]): one GoogleTest program,
# registered test by test. With OWN_FOLDER the program lies in a folder of its own beside
# copies of the named shared modules, as a shipped program lies beside its libraries, and its
# tests run one at a time (they write files beside those modules).
function(zx_test name)
  cmake_parse_arguments(A "OWN_FOLDER" "" "SOURCES;LIBS;MODULES" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} zx_testsupport GTest::gtest_main)
  set(properties "")
  if(A_OWN_FOLDER)
    set(folder ${CMAKE_BINARY_DIR}/tests-bin/${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder} BUILD_RPATH "$ORIGIN")
    foreach(module ${A_MODULES})
      add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${module}> ${folder}/)
    endforeach()
    set(properties PROPERTIES RUN_SERIAL TRUE)
  else()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin
                          BUILD_RPATH "${ZX_PROGRAM_DIR}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${properties})
endfunction()
