# Helpers shared by every module's CMakeLists.

# zarne_add_gtest(<target> LABEL <label> SOURCES <files...> LIBS <libs...>)
# Builds one GoogleTest executable and registers each of its tests with CTest under the
# module's label. Every test runs offscreen with a private ZARNE_ROOT below the build tree,
# so no test ever touches a user's data; tests that need a fresh root make their own.
function(zarne_add_gtest target)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  set(root ${CMAKE_BINARY_DIR}/testroot/${target})
  # The environment goes through env(1) as the tests' launcher: a list-valued ENVIRONMENT
  # property does not survive test discovery intact.
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;QT_QPA_PLATFORM=offscreen;ZARNE_ROOT=${root};ZARNE_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS ${T_LABEL} TIMEOUT 300)
endfunction()

# The platform layer is made of shared libraries so that the program and the libraries it
# loads (the grid, the table creator) share one window registry, one module table and one
# engine session, as they share one process on the original platform.
