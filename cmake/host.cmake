# Host build: the portable core and its tests, with the machine's compiler.
find_package(GTest REQUIRED)
# JSON for import and export: Debian's header-only nlohmann-json3-dev, on the compiler's own path.
find_path(TW_JSON_INCLUDE_DIR nlohmann/json.hpp REQUIRED)
file(GLOB TW_HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
if(TW_TEST_PATTERN)
  list(FILTER TW_HOST_TESTS INCLUDE REGEX "${TW_TEST_PATTERN}")
endif()
add_executable(host_tests ${TW_HOST_TESTS})
target_link_libraries(host_tests PRIVATE tw_core GTest::gtest GTest::gtest_main)
add_test(NAME host_tests COMMAND host_tests --gtest_brief=1 --gtest_output=xml:${CMAKE_BINARY_DIR}/results/host_tests.xml)

file(GLOB TW_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/host_*.cpp)
if(TW_TEST_PATTERN)  # a narrowed developer build leaves the benchmarks out
  set(TW_BENCH_SOURCES "")
endif()
foreach(src IN LISTS TW_BENCH_SOURCES)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE tw_core)
endforeach()

# Scrambles: the solver is optimized in every build, or the tests that solve a
# thousand cubes crawl under -O0 and the sanitizers; twscramble prints scrambles and
# the host tests run it.
if("scramble" IN_LIST TW_AREAS)
  set(TW_SCRAMBLE_SOURCES ${TW_CORE_SOURCES})
  list(FILTER TW_SCRAMBLE_SOURCES INCLUDE REGEX "/scramble/([^/]*/)?[^/]*\\.cpp$")
  set_source_files_properties(${TW_SCRAMBLE_SOURCES} scramble/tool/twscramble.cpp PROPERTIES COMPILE_OPTIONS -O2)
  add_executable(twscramble scramble/tool/twscramble.cpp)
  target_link_libraries(twscramble PRIVATE tw_core)
  add_dependencies(host_tests twscramble)
  target_compile_definitions(host_tests PRIVATE TW_TWSCRAMBLE_PATH="$<TARGET_FILE:twscramble>")
endif()
