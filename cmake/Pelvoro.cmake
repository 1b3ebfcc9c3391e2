# Helpers shared by the project's CMake files.

set(PELVORO_CORE_LIBRARIES "")

# pelvoro_include_root(target name scope): the folder through which `#include "<name>/..."`
# finds src/<name>/ — a folder of the build tree that holds one link, <name>, to src/<name>.
# A core library gets only its own root and, through what it links, the roots of the
# libraries it links: an include of a library it does not link fails to compile.
function(pelvoro_include_root target name scope)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
  if(NOT IS_SYMLINK ${root}/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# pelvoro_core_library(name deps...): a static library from src/<name>/*.cpp (and
# src/<name>/functions/*.cpp, the measurement families of the results, and
# src/<name>/family_*/*.cpp, the protocol families) that links only the standard library
# and the other core libraries named.
function(pelvoro_core_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp
       ${CMAKE_SOURCE_DIR}/src/${name}/functions/*.cpp ${CMAKE_SOURCE_DIR}/src/${name}/family_*/*.cpp)
  set(target pelvoro_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    pelvoro_include_root(${target} ${name} PUBLIC)
    foreach(dep IN LISTS ARGN)
      target_link_libraries(${target} PUBLIC pelvoro_${dep})
    endforeach()
  else()
    add_library(${target} INTERFACE)
    pelvoro_include_root(${target} ${name} INTERFACE)
    foreach(dep IN LISTS ARGN)
      target_link_libraries(${target} INTERFACE pelvoro_${dep})
    endforeach()
  endif()
  set(PELVORO_CORE_LIBRARIES ${PELVORO_CORE_LIBRARIES} ${target} PARENT_SCOPE)
endfunction()

# The files delivered beside the programs and installed into share/tamvisto: named one by
# one, so that nothing else that may lie in data/ (a stray folder, an editor's backup) is
# ever copied or shipped.
set(PELVORO_DATA_FILES
    Tamvisto_Main.ini
    English.ini
    Deutsch.ini
    StructureNames.ini
    "Tamvisto HELP.html"
    "Tamvisto HILFE.html"
    Demo.TMV)

# Copies the data files next to the executables.
function(pelvoro_copy_data_files)
  set(outputs "")
  foreach(rel IN LISTS PELVORO_DATA_FILES)
    set(f ${CMAKE_SOURCE_DIR}/data/${rel})
    set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${rel})
    add_custom_command(OUTPUT ${out} COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
                       DEPENDS ${f} VERBATIM)
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(pelvoro_data ALL DEPENDS ${outputs})
endfunction()

# pelvoro_add_gtest(name SOURCES... LIBS...): a GoogleTest program registered with CTest.
# Every test runs with the offscreen platform, an isolated settings folder and the
# source data folder, and inside the check that the run leaves the source tree as it was.
function(pelvoro_add_gtest name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} pelvoro_testsupport GTest::gtest)
  if(T_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE PELVORO_SOURCE_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
                                             PELVORO_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config;PELVORO_TEST=1"
    TIMEOUT 300 FIXTURES_REQUIRED source_tree)
endfunction()
