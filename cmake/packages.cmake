# The version packages as resources of type "zip", language 2052, and what needs them.
get_property(PACKAGES_DIR GLOBAL PROPERTY VERSION_PACKAGES_DIR)

# add_package_resources(<target> <id>...): embeds build/packages/<id>.zip for each id.
function(add_package_resources target)
    set(rc ${CMAKE_BINARY_DIR}/res/${target}_packages.rc)
    set(content "LANGUAGE 4, 2\n")
    set(zips "")
    foreach(id ${ARGN})
        string(APPEND content "${id} ZIP \"${PACKAGES_DIR}/${id}.zip\"\n")
        list(APPEND zips ${PACKAGES_DIR}/${id}.zip)
    endforeach()
    file(CONFIGURE OUTPUT ${rc} CONTENT "${content}" @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${zips}")
    add_dependencies(${target} version_packages)
endfunction()

add_library(switching STATIC switching/VersionSwitch.cpp)
target_link_libraries(switching PUBLIC switching_checks zipreader framework)
target_link_libraries(launcher PUBLIC switching)
add_package_resources(vorelin 183 185 186 187 188)

# A launcher that lacks packages, for the missing-package path.
add_launcher(vorelin_partial)
add_package_resources(vorelin_partial 183)

# The switch against minizip's own extractor; a program, not a test.
add_executable(switchbench tools/switchbench/SwitchBench.cpp)
target_link_libraries(switchbench PRIVATE switching psapi)
set_target_properties(switchbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_package_resources(switchbench 183)
add_dependencies(switchbench miniunz)

if(TARGET testdriver)
    add_doctest(e2e_switch_tests SOURCES tests/e2e/SwitchTest.cpp tests/e2e/LauncherFolder.cpp tests/e2e/PackageContents.cpp
        LIBS testdriver minizip)
    target_include_directories(e2e_switch_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e)
    add_dependencies(e2e_switch_tests vorelin vorelin_partial driver_target version_packages)
endif()
