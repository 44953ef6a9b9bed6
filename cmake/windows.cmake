# Windows build: the program, its ready-to-run folder and the tests that run under Wine.
enable_language(RC)
set(TW_WIN32_LIBS user32 gdi32 winmm comctl32 shell32 ole32 oleaut32 uuid windowscodecs shlwapi)
# GCC 12's -Wrestrict misreads "literal" + std::string at -O3 (a known false alarm of
# that release); it stays a warning, not an error.
add_compile_options(-Wno-error=restrict)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# JSON for import and export: Debian's header-only nlohmann-json3-dev, compiled in.
# A cross build searches only the mingw root, so the header's own folder is reached
# through a generated folder that holds just a link to it: no other header of the
# build machine comes onto the cross compiler's path.
if(CMAKE_CROSSCOMPILING)
  find_path(TW_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(TW_JSON_LINK_DIR ${CMAKE_BINARY_DIR}/json-include)
  file(MAKE_DIRECTORY ${TW_JSON_LINK_DIR})
  file(CREATE_LINK ${TW_JSON_INCLUDE_DIR}/nlohmann ${TW_JSON_LINK_DIR}/nlohmann SYMBOLIC)
  target_include_directories(tw_core SYSTEM PUBLIC ${TW_JSON_LINK_DIR})
else()
  find_path(TW_JSON_INCLUDE_DIR nlohmann/json.hpp REQUIRED)
  target_include_directories(tw_core SYSTEM PUBLIC ${TW_JSON_INCLUDE_DIR})
endif()

# The exe is kept within 1 MB: whatever is not on a hot path is built for size: the
# windows, dialogs and Win32 bindings, the settings and folder code, the result book
# and the puzzle pictures (edits and drawings a person waits for, not a key), the
# timer's phase rules (a few comparisons a key), the statistics' text, the training
# kinds' case tables and draws, the scramblers' dispatch and sticker models, the
# puzzles' small solvers, Square-1's and the 4x4x4's (the 3x3x3
# searches stay fast), and import and
# export (whose JSON parser alone is about 125 KB at -O3, and which runs at 10-30 % of
# its speed: well within its targets). Unused functions and data are dropped at the link.
set(TW_SIZE_SOURCES ${TW_CORE_SOURCES} ${TW_WIN_SOURCES})
list(FILTER TW_SIZE_SOURCES INCLUDE REGEX "/win32/|/exchange/|/options/|/storage/|/toolkit/|/docking/|/results/|/picture/|/app/|/scramble/training/|/stats/table_text|/scramble/cube444/|/scramble/puzzles/|/scramble/square1/|/stackmat/|/stats/(time_format|chart_model|average_rules|solve_tally|result_reading)|/scramble/cube333/(symmetry|solver_tables|random_state|cube_state|coordinates|move_tables)|/scramble/(event_scrambler|scramble_text|events|scrambler)\\.cpp")
set_source_files_properties(${TW_SIZE_SOURCES} PROPERTIES COMPILE_OPTIONS -Os)
add_compile_options(-ffunction-sections -fdata-sections)

add_library(tw_win STATIC ${TW_WIN_SOURCES})
target_link_libraries(tw_win PUBLIC tw_core ${TW_WIN32_LIBS})

set(TW_DIST ${CMAKE_BINARY_DIR}/dist)
if("app" IN_LIST TW_AREAS)
add_executable(Twistwatch WIN32 app/win32/winmain.cpp resources/twistwatch.rc)
set_source_files_properties(app/win32/winmain.cpp PROPERTIES COMPILE_OPTIONS -Os)
target_link_libraries(Twistwatch PRIVATE tw_win)
if(MINGW)
  # Static and stripped: the program needs no mingw DLLs beside it.
  target_link_options(Twistwatch PRIVATE -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections)
endif()
set_target_properties(Twistwatch PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TW_DIST})
set_property(SOURCE resources/twistwatch.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/twistwatch.ico
  ${CMAKE_SOURCE_DIR}/resources/hand.cur
  ${CMAKE_SOURCE_DIR}/resources/about.gif
  ${CMAKE_SOURCE_DIR}/resources/twistwatch.manifest)

foreach(asset Beep.wav Ding.wav Digital-7.ttf)
  add_custom_command(TARGET Twistwatch POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/${asset} ${TW_DIST}/${asset})
endforeach()
endif()

# GoogleTest from Debian's sources, built with the cross compiler; on Windows an
# installed GoogleTest is used when there is one, and the tests are left out when not.
set(TW_GTEST "")
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -Wno-error)
  target_compile_options(gtest_main PRIVATE -Wno-error)
  set(TW_GTEST gtest)
else()
  find_package(GTest QUIET)
  if(GTest_FOUND)
    set(TW_GTEST GTest::gtest)
  endif()
endif()
set(TW_RESULTS ${CMAKE_BINARY_DIR}/results)
if(TW_GTEST)
file(GLOB TW_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(TW_TEST_PATTERN)
  list(FILTER TW_WIN32_TESTS INCLUDE REGEX "${TW_TEST_PATTERN}|/main\\.cpp$")
endif()
add_executable(win32_tests ${TW_WIN32_TESTS})
target_link_libraries(win32_tests PRIVATE tw_win ${TW_GTEST})
target_compile_definitions(win32_tests PRIVATE TW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Whole executables, not discovered cases: discovery under Wine costs a start per case.
# The report path is a Linux path: under Wine it is reached through drive Z:.
set(TW_WIN32_REPORT ${TW_RESULTS}/win32_tests.xml)
if(CMAKE_CROSSCOMPILING)
  set(TW_WIN32_REPORT Z:${TW_WIN32_REPORT})
endif()
file(MAKE_DIRECTORY ${TW_RESULTS})
add_test(NAME win32_tests COMMAND win32_tests --gtest_brief=1 --gtest_output=xml:${TW_WIN32_REPORT})

endif()

if("app" IN_LIST TW_AREAS AND CMAKE_CROSSCOMPILING)
add_test(NAME e2e COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.py
  --dist ${TW_DIST} --results ${TW_RESULTS}/e2e.xml --shots ${CMAKE_SOURCE_DIR}/build/screenshots/e2e)
set_tests_properties(e2e PROPERTIES DEPENDS win32_tests)
endif()

file(GLOB TW_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win_*.cpp)
if(TW_TEST_PATTERN)  # a narrowed developer build leaves the benchmarks out
  set(TW_BENCH_SOURCES "")
endif()
foreach(src IN LISTS TW_BENCH_SOURCES)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE tw_win)
endforeach()

# twstackmat listens to a timer on a sound input; the capture test and benchmark run it with audio.
if("stackmat" IN_LIST TW_AREAS)
  add_executable(twstackmat stackmat/win32/tool/twstackmat.cpp)
  target_link_libraries(twstackmat PRIVATE tw_win)
  foreach(user IN ITEMS win32_tests win_stackmat_bench)
    if(TARGET ${user})
      add_dependencies(${user} twstackmat)
      target_compile_definitions(${user} PRIVATE TW_TWSTACKMAT_PATH="$<TARGET_FILE:twstackmat>")
    endif()
  endforeach()
  if(TARGET win_stackmat_bench)
    target_compile_definitions(win_stackmat_bench PRIVATE TW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endif()
