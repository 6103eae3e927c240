# doctest executables run under Wine by ctest.
enable_testing()
# doctest is a host header package; expose only its folder, not all of /usr/include, to the cross compiler.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/doctest-include)
if(NOT EXISTS ${CMAKE_BINARY_DIR}/doctest-include/doctest)
    file(CREATE_LINK /usr/include/doctest ${CMAKE_BINARY_DIR}/doctest-include/doctest SYMBOLIC)
endif()
add_library(doctest_main STATIC ${CMAKE_SOURCE_DIR}/tests/main.cpp)
target_compile_definitions(doctest_main PUBLIC DOCTEST_CONFIG_NO_MULTITHREADING)
target_include_directories(doctest_main SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/doctest-include)

# What every test and benchmark may use: temporary folders and files, test archives, and the
# driver that starts programs and reads their windows.
file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(testsupport STATIC ${sources})
target_include_directories(testsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
# minizip writes the test archives; a test that reads archives with it links it itself.
target_link_libraries(testsupport PUBLIC zipreader user32 gdi32 PRIVATE minizip)

# add_doctest(<name> <folder> LIBS <libs...> [ARGS <arguments...>]): the tests in the folder's .cpp
# and .rc files, run from the build folder.
function(add_doctest name folder)
    cmake_parse_arguments(T "" "" "LIBS;ARGS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.rc)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE doctest_main testsupport ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
endfunction()
