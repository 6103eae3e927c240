# minizip from Debian's zlib source (unpacked into deps/ by tools/setup.sh), over
# the static zlib of libz-mingw-w64-dev.
set(MINIZIP_DIR ${CMAKE_SOURCE_DIR}/deps/minizip)
if(NOT EXISTS ${MINIZIP_DIR}/unzip.c)
    message(FATAL_ERROR "minizip sources missing: run tools/setup.sh")
endif()
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE zlib.h REQUIRED)

add_library(minizip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/zip.c ${MINIZIP_DIR}/ioapi.c)
# Built as upstream ships it; its warnings would otherwise stop the -Werror build.
target_compile_options(minizip PRIVATE -w -Wno-error)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_DIR} ${ZLIB_INCLUDE})
target_link_libraries(minizip PUBLIC ${ZLIB_STATIC})

# minizip's own extractor, the floor the benchmarks measure against.
add_executable(miniunz ${MINIZIP_DIR}/miniunz.c ${MINIZIP_DIR}/iowin32.c)
target_compile_options(miniunz PRIVATE -w -Wno-error)
target_link_libraries(miniunz PRIVATE minizip)
set_target_properties(miniunz PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
