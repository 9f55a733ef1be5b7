# GoogleTest from the distribution's source package, built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)

# Test code is glue around calls into the skin, the program and the platform; it gains nothing
# from -O3 but costs a third more to compile. The code under test keeps the build's flags.
set(MORVANE_TEST_OPTIMIZATION -O1)
target_compile_options(gtest PRIVATE ${MORVANE_TEST_OPTIMIZATION})
target_compile_options(gtest_main PRIVATE ${MORVANE_TEST_OPTIMIZATION})

# A path in the build tree as a program under Wine sees it (drive Z: is /). It keeps its forward
# slashes so that it passes through the compiler's command line unescaped; tests/support turns
# them into backslashes.
function(morvane_wine_path out path)
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

set(MORVANE_TEST_OUTPUT "${CMAKE_BINARY_DIR}/test-output")
file(MAKE_DIRECTORY "${MORVANE_TEST_OUTPUT}")
morvane_wine_path(MORVANE_TEST_OUTPUT_WIN "${MORVANE_TEST_OUTPUT}")
morvane_wine_path(MORVANE_EXE_WIN "${CMAKE_BINARY_DIR}/Morvane.exe")
morvane_wine_path(MORVANE_RECORDER_WIN "${CMAKE_BINARY_DIR}/command_recorder.exe")

# Stands in for system programs in end-to-end tests and records how it was started.
add_executable(command_recorder WIN32 "${CMAKE_SOURCE_DIR}/tests/tools/command_recorder.cpp")
target_link_libraries(command_recorder PRIVATE morvane_options)
target_link_options(command_recorder PRIVATE -municode)
set_target_properties(command_recorder PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")

# Stands in for the session's shell in the shell-restart tests: one window, until it is ended.
add_executable(shell_stand_in WIN32 "${CMAKE_SOURCE_DIR}/tests/tools/shell_stand_in.cpp")
target_link_libraries(shell_stand_in PRIVATE morvane_options)
target_link_options(shell_stand_in PRIVATE -municode)
set_target_properties(shell_stand_in PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
morvane_wine_path(MORVANE_SHELL_STAND_IN_WIN "${CMAKE_BINARY_DIR}/shell_stand_in.exe")

# Stand-ins for system DLLs that a web page could leave beside the program: each writes
# "<its path>.loaded" as a process loads it. dll_search_probe.exe loads DLLs by bare name, as a
# program that searches its own folder does, to show that the stand-ins would be found there.
set(MORVANE_LOAD_MARKERS "${CMAKE_BINARY_DIR}/load_markers")
set(MORVANE_LOAD_MARKER_TARGETS "")
foreach(name msimg32 comctl32 uxtheme version)
  add_library(load_marker_${name} MODULE
              "${CMAKE_SOURCE_DIR}/tests/tools/load_markers/load_marker.cpp"
              "${CMAKE_SOURCE_DIR}/tests/tools/load_markers/${name}.def")
  target_link_libraries(load_marker_${name} PRIVATE morvane_options)
  target_link_options(load_marker_${name} PRIVATE -Wl,--exclude-all-symbols)
  set_target_properties(load_marker_${name} PROPERTIES OUTPUT_NAME ${name} PREFIX ""
                        LIBRARY_OUTPUT_DIRECTORY "${MORVANE_LOAD_MARKERS}")
  list(APPEND MORVANE_LOAD_MARKER_TARGETS load_marker_${name})
endforeach()
add_executable(dll_search_probe WIN32 "${CMAKE_SOURCE_DIR}/tests/tools/dll_search_probe.cpp")
target_link_libraries(dll_search_probe PRIVATE morvane_options shell32)
target_link_options(dll_search_probe PRIVATE -municode)
set_target_properties(dll_search_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
morvane_wine_path(MORVANE_LOAD_MARKERS_WIN "${MORVANE_LOAD_MARKERS}")
morvane_wine_path(MORVANE_DLL_SEARCH_PROBE_WIN "${CMAKE_BINARY_DIR}/dll_search_probe.exe")

# The headers nearly every test source opens, parsed once per test program rather than once per
# source: GoogleTest's alone takes most of a test source's compile time. Through a precompiled
# header GCC 12 no longer treats the C++ library's inline code as a system header's and reports
# its known false findings in std::wstring's copy (array bounds, and the string overread and
# overflow that come with it), so the test programs go without those three warnings; the program
# keeps them.
set(MORVANE_TEST_WARNINGS -Wno-array-bounds -Wno-stringop-overread -Wno-stringop-overflow)
# The header is made once, by a target of its own with only the options that every test source
# shares (GCC refuses it to a source that lacks a macro it was made with), and reused by all.
add_library(test_precompiled STATIC "${CMAKE_SOURCE_DIR}/cmake/empty.cpp")
target_link_libraries(test_precompiled PRIVATE app gtest)
target_compile_options(test_precompiled PRIVATE ${MORVANE_TEST_OPTIMIZATION} ${MORVANE_TEST_WARNINGS})
target_precompile_headers(test_precompiled PRIVATE <gtest/gtest.h> <string> <vector> <algorithm>)

# The part of the test support that the benchmark shares, without GoogleTest: starting a program
# and waiting for its window, and counting the process's GDI objects.
set(PLAIN_SUPPORT_SOURCES "${CMAKE_SOURCE_DIR}/tests/support/program_launch.cpp"
                          "${CMAKE_SOURCE_DIR}/tests/support/gdi_accounting.cpp")
add_library(plain_support STATIC ${PLAIN_SUPPORT_SOURCES})
target_link_libraries(plain_support PUBLIC morvane_win)

# The README.txt of the download as the release writes it, whose switch lines the switch tests
# compare with the usage the program prints.
set(MORVANE_RELEASE_README "${CMAKE_BINARY_DIR}/README.txt")
add_custom_command(
  OUTPUT "${MORVANE_RELEASE_README}"
  COMMAND python3 "${CMAKE_SOURCE_DIR}/scripts/release_readme.py"
          "${CMAKE_SOURCE_DIR}/docs/release-readme.txt" "${CMAKE_SOURCE_DIR}/app/switches/command_line.cpp"
          "${MORVANE_RELEASE_README}"
  DEPENDS "${CMAKE_SOURCE_DIR}/scripts/release_readme.py"
          "${CMAKE_SOURCE_DIR}/docs/release-readme.txt" "${CMAKE_SOURCE_DIR}/app/switches/command_line.cpp"
  VERBATIM)
add_custom_target(release_readme DEPENDS "${MORVANE_RELEASE_README}")
morvane_wine_path(MORVANE_RELEASE_README_WIN "${MORVANE_RELEASE_README}")

# Test support shared by every test program (window hosts, GDI accounting, picture writer).
file(GLOB_RECURSE SUPPORT_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/support/*.cpp")
list(REMOVE_ITEM SUPPORT_SOURCES ${PLAIN_SUPPORT_SOURCES})
add_library(test_support STATIC ${SUPPORT_SOURCES} "${CMAKE_SOURCE_DIR}/cmake/empty.cpp")
target_link_libraries(test_support PUBLIC app plain_support gtest version comctl32 oleacc oleaut32
                                          shell32 psapi)
target_compile_options(test_support PRIVATE ${MORVANE_TEST_OPTIMIZATION} ${MORVANE_TEST_WARNINGS})
target_precompile_headers(test_support REUSE_FROM test_precompiled)
target_compile_definitions(test_support PRIVATE
  MORVANE_TEST_OUTPUT=L"${MORVANE_TEST_OUTPUT_WIN}" MORVANE_EXE=L"${MORVANE_EXE_WIN}"
  MORVANE_RECORDER=L"${MORVANE_RECORDER_WIN}" MORVANE_LOAD_MARKERS=L"${MORVANE_LOAD_MARKERS_WIN}"
  MORVANE_DLL_SEARCH_PROBE=L"${MORVANE_DLL_SEARCH_PROBE_WIN}"
  MORVANE_SHELL_STAND_IN=L"${MORVANE_SHELL_STAND_IN_WIN}"
  MORVANE_RELEASE_README=L"${MORVANE_RELEASE_README_WIN}")

# One test program per folder under tests/ that holds *_test.cpp files: tests/skin/graphics
# becomes test_skin_graphics.exe. A folder may add its own helpers as *.cpp beside the tests, and
# resource scripts as *.rc (tests that drive the program's windows in-process need its templates).
file(GLOB_RECURSE TEST_FILES CONFIGURE_DEPENDS RELATIVE "${CMAKE_SOURCE_DIR}/tests"
     "${CMAKE_SOURCE_DIR}/tests/*_test.cpp")
set(TEST_DIRS "")
foreach(file ${TEST_FILES})
  get_filename_component(dir "${file}" DIRECTORY)
  list(APPEND TEST_DIRS "${dir}")
endforeach()
list(REMOVE_DUPLICATES TEST_DIRS)
list(REMOVE_ITEM TEST_DIRS "support")

foreach(dir ${TEST_DIRS})
  string(REPLACE "/" "_" name "test_${dir}")
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp"
       "${CMAKE_SOURCE_DIR}/tests/${dir}/*.rc")
  add_executable(${name} ${sources})
  foreach(source ${sources})
    if(source MATCHES "\\.rc$")
      set_source_files_properties("${source}" PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE test_support gtest_main)
  target_compile_options(${name} PRIVATE ${MORVANE_TEST_OPTIMIZATION} ${MORVANE_TEST_WARNINGS})
  target_precompile_headers(${name} REUSE_FROM test_precompiled)
  add_dependencies(${name} Morvane command_recorder dll_search_probe shell_stand_in
                   release_readme ${MORVANE_LOAD_MARKER_TARGETS})
  add_test(NAME ${name} COMMAND ${name})
  # Under Wine every window-property access and message is a wineserver round trip; the
  # thousand-round gallery and storm tests take several minutes on a loaded 2-core machine.
  set_tests_properties(${name} PROPERTIES TIMEOUT 1800)
  # A program that dies of an unhandled exception (a stack overflow included) may still end with
  # exit code 0 under Wine; Wine's report of it marks the run failed.
  set_tests_properties(${name} PROPERTIES FAIL_REGULAR_EXPRESSION "wine: Unhandled")
endforeach()

# The program's end-to-end tests put command_recorder.exe in place of these system programs (and
# the shell-restart tests in place of explorer.exe in the Windows directory); Wine
# must then prefer the file in the system directory to its built-in program (and fall back to the
# built-in one when the file is its own placeholder). They also start the program from a folder
# that holds DLLs of these system DLLs' names, which Wine must then prefer, as Windows does for
# DLLs outside its known ones. Wine reads the overrides from the Unix environment as a process
# starts, so they are set for the test program and pass to every process it starts; no such DLL
# lies beside the test program itself.
foreach(name test_app test_app_windows test_app_system)
  if(TEST ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
      "MORVANE_DLLOVERRIDES=cmd.exe,explorer.exe,rundll32.exe,msimg32,comctl32,uxtheme,version=n,b")
  endif()
endforeach()

# The platform's common dialogs, opened over a skinned form.
if(TARGET test_skin_dialogs)
  target_link_libraries(test_skin_dialogs PRIVATE comdlg32)
endif()

# The program imports only from the DLLs that Windows always takes from its system directory, no
# function that advapi32 forwards elsewhere, and its PE header carries the hardening flags.
add_test(NAME program_imports
         COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_imports.sh" "${CMAKE_OBJDUMP}"
                 "${MORVANE_SYSTEM_DLLS}" "$<TARGET_FILE:Morvane>")
# The check itself: with user32 left off the list, the program's import of it must be named.
set(MORVANE_DLLS_LESS_USER32 ${MORVANE_SYSTEM_DLLS})
list(REMOVE_ITEM MORVANE_DLLS_LESS_USER32 user32)
add_test(NAME program_imports_refuses_an_unlisted_dll
         COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_imports.sh" "${CMAKE_OBJDUMP}"
                 "${MORVANE_DLLS_LESS_USER32}" "$<TARGET_FILE:Morvane>")
set_tests_properties(program_imports_refuses_an_unlisted_dll PROPERTIES
  PASS_REGULAR_EXPRESSION "imports USER32[.]dll, which Windows may load from the program's folder")

# The source tree's layers point one way: a check of the sources, run on the build machine.
add_test(NAME source_layers COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_layers.sh"
                                    "${CMAKE_SOURCE_DIR}")
# The check itself: small trees, each with one fault or none, and what the check says of each.
add_test(NAME source_layers_check COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_layers_test.sh")

# The benchmark's figures reach the documents by scripts/write_bench_tables.py: each row into its
# block, with the commit it was measured on.
add_test(NAME bench_tables_writer
         COMMAND python3 "${CMAKE_SOURCE_DIR}/scripts/write_bench_tables_test.py")

# The icon in the tree is what its script draws, the same bytes on every run.
add_test(NAME icon_file COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_icon.sh"
                                "${CMAKE_SOURCE_DIR}")

# Every relative link and picture in the documents (README.md, docs/*.md) leads somewhere.
add_test(NAME document_links COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_links.sh"
                                     "${CMAKE_SOURCE_DIR}")

# The picture of the main window that scripts/run.sh takes shows what a person sees, when the
# program starts under the pointer and after the pointer rested on a button; both pictures are
# kept in test-output/.
add_test(NAME start_picture
         COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check_start_picture.sh" "${MORVANE_WINEPREFIX}"
                 "$<TARGET_FILE:Morvane>" "${MORVANE_TEST_OUTPUT}")
set_tests_properties(start_picture PROPERTIES TIMEOUT 120)
