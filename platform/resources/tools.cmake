# The build-time tools of the resources, and zx_add_resources() for the modules' CMake files.

# zxrc compiles a resource script; it shares the file format code with the readers.
file(GLOB ZX_RC_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/compiler/*.cpp)
add_executable(zxrc ${ZX_RC_SOURCES} ${ZX_RESFORMAT_SOURCES})
target_include_directories(zxrc PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/include
                           $<TARGET_PROPERTY:zx_kernel,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(zxrc PRIVATE ZLIB::ZLIB)
# zxresgen draws the pictures, on cairo with the shipped font through pango.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZXRESGEN REQUIRED IMPORTED_TARGET cairo pangocairo pangoft2 fontconfig)
# Its list reader and painters form a library of their own, which the fuzz target takes too.
file(GLOB ZX_RESGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/generator/*.cpp)
list(REMOVE_ITEM ZX_RESGEN_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/generator/main.cpp)
add_library(zx_resgen STATIC ${ZX_RESGEN_SOURCES})
target_include_directories(zx_resgen PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/generator)
target_link_libraries(zx_resgen PUBLIC ZLIB::ZLIB PkgConfig::ZXRESGEN)
add_executable(zxresgen ${CMAKE_CURRENT_SOURCE_DIR}/generator/main.cpp)
target_link_libraries(zxresgen PRIVATE zx_resgen)
target_include_directories(zxresgen PRIVATE $<TARGET_PROPERTY:zx_kernel,INTERFACE_INCLUDE_DIRECTORIES>)
set_target_properties(zxrc zxresgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# zx_add_resources(target FILE script [PLACEHOLDERS list] [DESTINATION folder])
# Compiles the target's resource script into <output name>.res beside the target's file (or
# in DESTINATION), whenever the target is built. PLACEHOLDERS names a list of images for
# zxresgen to draw first; the script finds them as if they lay beside it.
function(zx_add_resources target)
  cmake_parse_arguments(A "" "FILE;PLACEHOLDERS;DESTINATION" "" ${ARGN})
  if(NOT A_FILE)
    message(FATAL_ERROR "zx_add_resources(${target}): FILE is required")
  endif()
  get_filename_component(script ${A_FILE} ABSOLUTE)
  set(folder ${A_DESTINATION})
  if(NOT folder)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
    else()
      get_target_property(folder ${target} LIBRARY_OUTPUT_DIRECTORY)
    endif()
    if(NOT folder)
      set(folder ${ZX_PROGRAM_DIR})
    endif()
  endif()
  get_target_property(base ${target} OUTPUT_NAME)
  if(NOT base)
    set(base ${target})
  endif()
  set(output ${folder}/${base}.res)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${target}.resources)
  set(search "")
  set(inputs ${script} zxrc)
  if(A_PLACEHOLDERS)
    get_filename_component(list ${A_PLACEHOLDERS} ABSOLUTE)
    add_custom_command(OUTPUT ${work}/placeholders.stamp
      COMMAND ${CMAKE_COMMAND} -E make_directory ${work}/placeholders
      COMMAND zxresgen ${list} -o ${work}/placeholders --stamp ${work}/placeholders.stamp
      DEPENDS zxresgen ${list}
      COMMENT "Drawing the placeholder images of ${target}")
    list(APPEND search -I ${work}/placeholders)
    list(APPEND inputs ${work}/placeholders.stamp)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${work} ${folder}
    COMMAND zxrc ${script} -o ${output} ${search} --depfile ${work}/resources.d
    DEPENDS ${inputs}
    DEPFILE ${work}/resources.d
    COMMENT "Compiling the resources of ${target}")
  add_custom_target(${target}_resources DEPENDS ${output})
  add_dependencies(${target} ${target}_resources)
endfunction()
