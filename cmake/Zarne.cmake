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

# zarne_add_sanitized_gtest(<target> LABEL <label> LIBRARY <shared library target>
#                           SOURCES <tests...> LIBS <libs...>)
# Builds a module's fault tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# against an instrumented copy of the module's shared library. Program and library go to
# their own directory, so LoadLibrary finds the instrumented library beside the program.
# Any report stops the test (halt_on_error); leaks that Qt and fontconfig keep until exit
# are suppressed by cmake/sanitizer_suppressions.txt.
function(zarne_add_sanitized_gtest target)
  cmake_parse_arguments(S "" "LABEL;LIBRARY" "SOURCES;LIBS" ${ARGN})
  set(flags -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  set(dir ${CMAKE_BINARY_DIR}/bin/sanitized)
  get_target_property(library_sources ${S_LIBRARY} SOURCES)
  get_target_property(library_links ${S_LIBRARY} LINK_LIBRARIES)
  get_target_property(library_name ${S_LIBRARY} NAME)
  set(instrumented ${library_name}_sanitized)
  add_library(${instrumented} SHARED ${library_sources})
  target_include_directories(${instrumented} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${instrumented} PRIVATE ${library_links})
  target_compile_options(${instrumented} PRIVATE ${flags})
  target_link_options(${instrumented} PRIVATE ${flags})
  set_target_properties(${instrumented} PROPERTIES OUTPUT_NAME ${library_name} LIBRARY_OUTPUT_DIRECTORY ${dir})
  add_executable(${target} ${S_SOURCES})
  target_link_libraries(${target} PRIVATE ${instrumented} ${S_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_options(${target} PRIVATE ${flags})
  target_link_options(${target} PRIVATE ${flags})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir})
  set(root ${CMAKE_BINARY_DIR}/testroot/${target})
  set(suppressions ${CMAKE_SOURCE_DIR}/cmake/sanitizer_suppressions.txt)
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;QT_QPA_PLATFORM=offscreen;ZARNE_ROOT=${root};ZARNE_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests;ASAN_OPTIONS=halt_on_error=1:detect_leaks=1;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1;LSAN_OPTIONS=suppressions=${suppressions}:print_suppressions=0")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "sanitized."
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS ${S_LABEL} TIMEOUT 600)
endfunction()
