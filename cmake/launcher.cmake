# What every launcher executable is built from, for the product's build and the tests' launchers alike.
set(LAUNCHER_RES ${CMAKE_SOURCE_DIR}/res)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/res/vorelin.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/res
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/make-icon.py ${CMAKE_BINARY_DIR}/res/vorelin.ico
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-icon.py)
# The skin's pictures, one file per bitmap that res/skin.rc2 names.
set(SKIN_PICTURES background close close_hover minimize minimize_hover start start_hover
    120e 120e_hover 124e 124e_hover 126 126_hover 120e4m 120e4m_hover 124e8m 124e8m_hover
    maps maps_hover panel_top panel_bottom edit_frame)
list(TRANSFORM SKIN_PICTURES PREPEND ${CMAKE_BINARY_DIR}/res/skin/ OUTPUT_VARIABLE SKIN_BITMAPS)
list(TRANSFORM SKIN_BITMAPS APPEND .bmp)
add_custom_command(OUTPUT ${SKIN_BITMAPS}
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/make-skin.py ${CMAKE_BINARY_DIR}/res/skin
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-skin.py)
# One target owns the generated files, so that launchers building in parallel do not each run the generators.
add_custom_target(launcher_resources DEPENDS ${CMAKE_BINARY_DIR}/res/vorelin.ico ${SKIN_BITMAPS})

# add_launcher(<name> [ADDRESSES <object library>] [SOURCES <file>...] PACKAGES <package id>...):
# the launcher executable with the given version packages. Its addresses are the objects of the
# library named (site_address, the maker's, by default), chosen here rather than by link order.
function(add_launcher name)
    cmake_parse_arguments(L "" "ADDRESSES" "SOURCES;PACKAGES" ${ARGN})
    if(NOT L_ADDRESSES)
        set(L_ADDRESSES site_address)
    endif()
    add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/app/CvorelinApp.cpp ${LAUNCHER_RES}/vorelin.rc
        $<TARGET_OBJECTS:${L_ADDRESSES}> ${L_SOURCES})
    set_source_files_properties(${LAUNCHER_RES}/vorelin.rc TARGET_DIRECTORY ${name} PROPERTIES OBJECT_DEPENDS
        "${CMAKE_BINARY_DIR}/res/vorelin.ico;${LAUNCHER_RES}/vorelin.manifest;${LAUNCHER_RES}/resource.h;${LAUNCHER_RES}/skin.rc2;${SKIN_BITMAPS}")
    target_include_directories(${name} PRIVATE ${CMAKE_BINARY_DIR}/res)
    # Page-aligned sections let Wine map the 110 MB image instead of reading it all in at start.
    target_link_options(${name} PRIVATE -municode -Wl,--file-alignment,0x1000)
    target_link_libraries(${name} PRIVATE framework_main launcher)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    add_dependencies(${name} launcher_resources)
    add_package_resources(${name} ${L_PACKAGES})
endfunction()
