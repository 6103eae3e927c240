# expose_folder(<target> <folder>): users of <target> reach "<folder>/X.h" and no other folder of
# the tree, so that an include across the layers that no link declares fails to build. Each
# folder gets an include root of its own that holds only a link to it.
function(expose_folder target folder)
    set(root ${CMAKE_BINARY_DIR}/include/${folder})
    file(MAKE_DIRECTORY ${root})
    if(NOT EXISTS ${root}/${folder})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()

# The ids that res/resource.h gives every control, dialog, icon and bitmap, for code and .rc files.
add_library(resource_ids INTERFACE)
expose_folder(resource_ids res)
target_include_directories(resource_ids INTERFACE ${CMAKE_SOURCE_DIR}/res)
