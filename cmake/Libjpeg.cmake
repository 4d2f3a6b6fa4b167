# libjpeg (Debian's libjpeg-turbo sources, which scripts/setup fetches into build/sources),
# cross-built once as a static library with our toolchain and installed into the build tree.
# Exposes the imported target libjpeg::jpeg.
include(ExternalProject)

# The program decodes at 1/8 scale, where Huffman decoding dominates and SIMD saves nothing
# measurable (see the benchmark) while adding ~180 KB to the executable.
option(VALKESTA_JPEG_SIMD "Build libjpeg with its SIMD code (needs nasm)" OFF)

file(GLOB VALKESTA_JPEG_SOURCE_DIR LIST_DIRECTORIES true
    ${PROJECT_SOURCE_DIR}/build/sources/libjpeg-turbo-*)
if(NOT EXISTS "${VALKESTA_JPEG_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR
        "libjpeg-turbo sources not found in ${PROJECT_SOURCE_DIR}/build/sources: run scripts/setup")
endif()

set(VALKESTA_JPEG_PREFIX ${PROJECT_BINARY_DIR}/libjpeg)
set(VALKESTA_JPEG_LIBRARY ${VALKESTA_JPEG_PREFIX}/lib/libjpeg.a)

ExternalProject_Add(libjpeg_build
    SOURCE_DIR ${VALKESTA_JPEG_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/libjpeg-build
    INSTALL_DIR ${VALKESTA_JPEG_PREFIX}
    CMAKE_ARGS
        -Wno-dev
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
        # Small code, and unused functions dropped at link time; the program reads no
        # environment settings for the decoder's memory.
        -DCMAKE_BUILD_TYPE=MinSizeRel
        "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections -DNO_GETENV"
        # The Windows default prefix (c:/...) breaks configuring on this machine.
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DCMAKE_INSTALL_LIBDIR:PATH=lib
        -DENABLE_SHARED=OFF
        -DENABLE_STATIC=ON
        -DWITH_TURBOJPEG=OFF
        -DWITH_SIMD=${VALKESTA_JPEG_SIMD}
        # Asked for SIMD means SIMD or a failed build, not a silent fallback.
        -DREQUIRE_SIMD=${VALKESTA_JPEG_SIMD}
    USES_TERMINAL_BUILD TRUE
    BUILD_BYPRODUCTS ${VALKESTA_JPEG_LIBRARY})

# An imported target's include directory must exist when the build is generated.
file(MAKE_DIRECTORY ${VALKESTA_JPEG_PREFIX}/include)
add_library(libjpeg::jpeg STATIC IMPORTED GLOBAL)
set_target_properties(libjpeg::jpeg PROPERTIES
    IMPORTED_LOCATION ${VALKESTA_JPEG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${VALKESTA_JPEG_PREFIX}/include)
add_dependencies(libjpeg::jpeg libjpeg_build)
