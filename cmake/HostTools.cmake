# The tools under tools/ run at build time on the build machine: build them natively with
# clang as an external project and expose their paths.
include(ExternalProject)

set(VALKESTA_HOST_DIR ${PROJECT_BINARY_DIR}/host)
set(VALKESTA_DOCUMENT_CHECK ${VALKESTA_HOST_DIR}/document_check)

ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
    BINARY_DIR ${VALKESTA_HOST_DIR}
    CMAKE_ARGS
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_C_COMPILER=clang
        -DCMAKE_CXX_COMPILER=clang++
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    USES_TERMINAL_BUILD TRUE
    BUILD_BYPRODUCTS ${VALKESTA_DOCUMENT_CHECK})
