# libdeflate's decompressor and CRC-32 from Debian's source package (unpacked into deps/ by
# tools/setup.sh): the reader inflates whole entries with it, faster than zlib's inflate.
set(LIBDEFLATE_DIR ${CMAKE_SOURCE_DIR}/deps/libdeflate)
if(NOT EXISTS ${LIBDEFLATE_DIR}/lib/deflate_decompress.c)
    message(FATAL_ERROR "libdeflate sources missing: run tools/setup.sh")
endif()

add_library(libdeflate STATIC
    ${LIBDEFLATE_DIR}/lib/deflate_decompress.c
    ${LIBDEFLATE_DIR}/lib/crc32.c
    ${LIBDEFLATE_DIR}/lib/utils.c
    ${LIBDEFLATE_DIR}/lib/x86/cpu_features.c)
# -O3 whatever the build type: the decompressor's loops are the switch's inner loop.
target_compile_options(libdeflate PRIVATE -O3 -w -Wno-error)
target_include_directories(libdeflate SYSTEM PUBLIC ${LIBDEFLATE_DIR})
